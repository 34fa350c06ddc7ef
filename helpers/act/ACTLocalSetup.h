#pragma once
// The stand-in ACT! installation for a user who has no ACT!: the program that manages its
// databases (ferrywise-cli, whose `act import` makes them) registered in the emulated
// registry as the ACT! program (InstallPath and AppName of
// HKEY_LOCAL_MACHINE\SOFTWARE\ACT\Install), so that the ACT! page finds an ACT! application.
// Front ends call it before the session begins.
#include <string>

// Does nothing when an ACT! program is registered already (an installation that exists is
// never changed). Otherwise registers the program's folder and "ferrywise-cli" in it. False
// with a reason when the registry entry cannot be written.
bool EnsureLocalACT(std::string& error);

// The program the stand-in registers, in the program's folder.
inline constexpr char ACTLocalProgram[] = "ferrywise-cli";
