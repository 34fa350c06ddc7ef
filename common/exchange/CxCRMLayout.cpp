#include "exchange/CxCRMLayout.h"

#include <cstring>

const CxLayoutField* FindCRMField(const CxCRMLayout& layout, const char* name)
{
    if (name == nullptr) {
        return nullptr;
    }
    for (const CxLayoutField& field : layout.fields) {
        if (std::strcmp(field.Name, name) == 0) {
            return &field;
        }
    }
    return nullptr;
}

CxRecordLines DescribeCRMRecord(const CxCRMLayout& layout, const void* rec)
{
    CxRecordLines lines;
    if (rec == nullptr) {
        return lines;
    }
    for (std::size_t i = 0; i < layout.fields.size(); ++i) {
        const char* label = i < layout.labels.size() ? layout.labels[i] : nullptr;
        if (label == nullptr) {
            continue; // the change mark and the action
        }
        const CxLayoutField& field = layout.fields[i];
        std::string text = LayoutFieldText(field, rec);
        const bool empty = field.Kind == CxFieldKind::Text   ? text.empty()
                           : field.Kind == CxFieldKind::Date ? text == "0.000000"
                                                             : text == "0";
        if (!empty) {
            lines.push_back(CxRecordLine{label[0] != '\0' ? label : field.Name, std::move(text)});
        }
    }
    return lines;
}
