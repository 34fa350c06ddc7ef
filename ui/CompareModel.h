#pragma once
// The rows of one comparison list: one per record of a source connector's store, in store
// order, each with its tick. The store owns the records; the model only points at them, so it
// must be refilled (or cleared) before that store is cleared.
#include <QAbstractTableModel>
#include <QColor>
#include <vector>

#include "misc/AppKind.h"
#include "misc/CxStoreVisit.h"

class CxConnector;

class CompareModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit CompareModel(DataType type, QObject* parent = nullptr);

    DataType GetDataType() const { return m_type; }

    // Replaces every row with the records of the connector's store for this data type; a
    // record is ticked when its Status is New or Diff. A null connector empties the list.
    void Fill(CxConnector* connector);
    void Clear();

    // The record a row stands for, of this data type's record type; none for a bad row.
    CommRecordPtr RecordAt(int row) const;
    int StatusAt(int row) const;
    bool IsTicked(int row) const;
    void SetTicked(int row, bool ticked);

    void TickAll(bool ticked);
    // Ticks New and Diff rows, unticks Same rows.
    void TickDiff();

    // Windows colour values (red in the low byte) of the three comparison results.
    void SetColors(int newColor, int diffColor, int sameColor);
    static QColor FromColorRef(int colorRef);

    // Column captions and widths in pixels at 96 dpi.
    static int ColumnCount(DataType type);
    static QString ColumnCaption(DataType type, int column);
    static int ColumnWidth(DataType type, int column);
    // The text of one cell of a record, in the columns of its data type; empty for no record.
    static QString CellText(const CommRecordPtr& record, int column);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    DataType m_type;
    std::vector<CommRecordPtr> m_records;
    std::vector<char> m_ticks;
    QColor m_new;
    QColor m_diff;
    QColor m_same;
};
