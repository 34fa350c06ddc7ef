#include "ui/CompareModel.h"

#include <QStringList>
#include <cstring>
#include <string_view>

#include "misc/CommRecords.h"
#include "misc/CxConnector.h"
#include "misc/CxDateTime.h"
#include "platform/CodePage.h"
#include "ui/ContactCaption.h"

namespace {

struct Column
{
    const char* Caption;
    int Width;
};

constexpr Column kAddrColumns[] = {
    {"Display Name", 120}, {"Email", 120}, {"Primary Phone", 100}, {"Company", 100}, {"Title", 100}};
constexpr Column kDateColumns[] = {
    {"Subject", 200}, {"Start Time", 80}, {"End Time", 80}, {"All Day Event", 100}, {"Location", 150}};
constexpr Column kTaskColumns[] = {{"Subject", 200}, {"Importance", 80}, {"Due Date", 80}, {"Body", 240}};
constexpr Column kNoteColumns[] = {{"Notes", 600}};

std::span<const Column> Columns(CommRecordType<CommAddrRec>)
{
    return kAddrColumns;
}
std::span<const Column> Columns(CommRecordType<CommDateRec>)
{
    return kDateColumns;
}
std::span<const Column> Columns(CommRecordType<CommTaskRec>)
{
    return kTaskColumns;
}
std::span<const Column> Columns(CommRecordType<CommNoteRec>)
{
    return kNoteColumns;
}

std::span<const Column> ColumnsOf(DataType type)
{
    return VisitDataType(
        type, [](auto recordType) { return Columns(recordType); }, [] { return std::span<const Column>(); });
}

// Record texts are ANSI in fixed buffers; a missing terminator never reads past the buffer.
template <std::size_t N> QString Text(const char (&field)[N])
{
    const std::u16string wide = platform::AnsiToUtf16(std::string_view(field, strnlen(field, N)));
    return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

QString ContactCaption(const CommAddrRec& r)
{
    return ContactCaption(Text(r.DisplayName), {Text(r.FirstName), Text(r.MiddleName), Text(r.LastName)},
                          Text(r.Company), {Text(r.Email)});
}

QString DateTimeText(const SYSTEMTIME& time)
{
    char buffer[64];
    CxDateTime(time).FormatDateTime(buffer);
    return QString::fromLatin1(buffer);
}

// 0 is "no due date"; a time that cannot be broken down into local time shows nothing rather
// than another row's date.
QString DueDateText(std::int32_t dueDate)
{
    if (dueDate == 0) {
        return QString();
    }
    CxDateTime date;
    date.SetTimeT(dueDate);
    if (!date.IsValid()) {
        return QString();
    }
    char buffer[32];
    return QString::fromLatin1(date.FormatDate(buffer));
}

// The cells of each record type, in the order of its columns; empty past the last column.
QString Cell(const CommAddrRec& r, int column)
{
    switch (column) {
    case 0:
        return ContactCaption(r);
    case 1:
        return Text(r.Email);
    case 2:
        return Text(r.PrimaryPhone);
    case 3:
        return Text(r.Company);
    case 4:
        return Text(r.Title);
    }
    return QString();
}

QString Cell(const CommDateRec& r, int column)
{
    switch (column) {
    case 0:
        return Text(r.Subject);
    case 1:
        return DateTimeText(r.Start);
    case 2:
        return DateTimeText(r.End);
    case 3:
        return QString::fromLatin1(r.AllDay != 0 ? "Yes" : "No");
    case 4:
        return Text(r.Location);
    }
    return QString();
}

QString Cell(const CommTaskRec& r, int column)
{
    switch (column) {
    case 0:
        return Text(r.Subject);
    case 1:
        return QString::fromLatin1(r.Priority == 1 ? "High" : r.Priority == 2 ? "Low" : "Normal");
    case 2:
        return DueDateText(r.DueDate);
    case 3:
        return Text(r.Notes);
    }
    return QString();
}

QString Cell(const CommNoteRec& r, int column)
{
    return column == 0 ? Text(r.Body) : QString();
}

template <class Store> void TakeRecords(Store* store, std::vector<CommRecordPtr>& records)
{
    if (store == nullptr) {
        return;
    }
    records.reserve(static_cast<std::size_t>(store->GetCount()));
    for (auto* record = store->First(); record != nullptr; record = store->Next()) {
        records.push_back(record);
    }
}

} // namespace

CompareModel::CompareModel(DataType type, QObject* parent)
    : QAbstractTableModel(parent), m_type(type), m_new(FromColorRef(0x8000)), m_diff(FromColorRef(0xFF0000)),
      m_same(FromColorRef(0))
{
}

QColor CompareModel::FromColorRef(int colorRef)
{
    const auto value = static_cast<unsigned>(colorRef);
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

void CompareModel::SetColors(int newColor, int diffColor, int sameColor)
{
    m_new = FromColorRef(newColor);
    m_diff = FromColorRef(diffColor);
    m_same = FromColorRef(sameColor);
    if (!m_records.empty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::ForegroundRole});
    }
}

void CompareModel::Fill(CxConnector* connector)
{
    beginResetModel();
    m_records.clear();
    m_ticks.clear();
    if (connector != nullptr) {
        VisitStore(*connector, m_type, [this](auto* store) { TakeRecords(store, m_records); });
    }
    m_ticks.resize(m_records.size());
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        m_ticks[i] = StatusAt(static_cast<int>(i)) != MatchSame;
    }
    endResetModel();
}

void CompareModel::Clear()
{
    Fill(nullptr);
}

CommRecordPtr CompareModel::RecordAt(int row) const
{
    return row >= 0 && row < rowCount() ? m_records[static_cast<std::size_t>(row)] : CommRecordPtr();
}

int CompareModel::StatusAt(int row) const
{
    return VisitRecord(
        RecordAt(row), [](const auto& record) { return static_cast<int>(record.Status); },
        [] { return static_cast<int>(MatchSame); });
}

bool CompareModel::IsTicked(int row) const
{
    return row >= 0 && row < rowCount() && m_ticks[static_cast<std::size_t>(row)] != 0;
}

void CompareModel::SetTicked(int row, bool ticked)
{
    if (row < 0 || row >= rowCount() || IsTicked(row) == ticked) {
        return;
    }
    m_ticks[static_cast<std::size_t>(row)] = ticked;
    const QModelIndex cell = index(row, 0);
    emit dataChanged(cell, cell, {Qt::CheckStateRole});
}

void CompareModel::TickAll(bool ticked)
{
    for (char& tick : m_ticks) {
        tick = ticked;
    }
    if (!m_ticks.empty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::CheckStateRole});
    }
}

void CompareModel::TickDiff()
{
    for (std::size_t i = 0; i < m_ticks.size(); ++i) {
        m_ticks[i] = StatusAt(static_cast<int>(i)) != MatchSame;
    }
    if (!m_ticks.empty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::CheckStateRole});
    }
}

int CompareModel::ColumnCount(DataType type)
{
    return static_cast<int>(ColumnsOf(type).size());
}

QString CompareModel::ColumnCaption(DataType type, int column)
{
    const auto columns = ColumnsOf(type);
    return column >= 0 && column < static_cast<int>(columns.size())
               ? QString::fromLatin1(columns[static_cast<std::size_t>(column)].Caption)
               : QString();
}

int CompareModel::ColumnWidth(DataType type, int column)
{
    const auto columns = ColumnsOf(type);
    return column >= 0 && column < static_cast<int>(columns.size())
               ? columns[static_cast<std::size_t>(column)].Width
               : 0;
}

QString CompareModel::CellText(const CommRecordPtr& record, int column)
{
    return VisitRecord(
        record, [column](const auto& r) { return Cell(r, column); }, [] { return QString(); });
}

int CompareModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_records.size());
}

int CompareModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount(m_type);
}

QVariant CompareModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount()) {
        return QVariant();
    }
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: {
        QString text = CellText(RecordAt(index.row()), index.column());
        if (role == Qt::DisplayRole) {
            // One line per row: bodies and notes show their first line.
            const qsizetype end = text.indexOf(QLatin1Char('\r')) >= 0 ? text.indexOf(QLatin1Char('\r'))
                                                                       : text.indexOf(QLatin1Char('\n'));
            if (end >= 0) {
                text.truncate(end);
            }
        }
        return text;
    }
    case Qt::ForegroundRole: {
        // Chosen at each draw: a new comparison recolours the rows without a refill.
        const int status = StatusAt(index.row());
        return status == MatchDiff ? m_diff : status == MatchNew ? m_new : m_same;
    }
    case Qt::CheckStateRole:
        if (index.column() == 0) {
            return IsTicked(index.row()) ? Qt::Checked : Qt::Unchecked;
        }
        break;
    default:
        break;
    }
    return QVariant();
}

bool CompareModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != 0 || index.row() >= rowCount()) {
        return false;
    }
    SetTicked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags CompareModel::flags(const QModelIndex& index) const
{
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == 0) {
        result |= Qt::ItemIsUserCheckable;
    }
    return result;
}

QVariant CompareModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        return ColumnCaption(m_type, section);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}
