#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>
#include <QTableView>

class BrowseGridModel;

// A read-only text grid addressed the way the browse code fills it: a row
// count that includes the fixed header row 0, a current row and column, and
// the text of the current cell. Row 0 is shown as the column header; data
// rows start at row 1. Widths are in twips; alignments are 0 left, 1 right,
// 2 centre.
class BrowseGrid : public QTableView
{
    Q_OBJECT

public:
    explicit BrowseGrid(int cols, QWidget *parent = nullptr);

    int rows() const;
    void setRows(int rows);
    int cols() const;

    int row() const { return m_row; }
    void setRow(int row);
    int col() const { return m_col; }
    void setCol(int col);

    QString text() const;
    void setText(const QString &text);
    QString cellText(int row, int col) const;

    int colWidth(int col) const;
    void setColWidth(int col, int twips);
    int colAlignment(int col) const;
    void setColAlignment(int col, int alignment);

protected:
    // Columns keep their set widths as a least width and widen to show
    // their header and the rows' texts whole.
    void showEvent(QShowEvent *event) override;

private:
    BrowseGridModel *m_model;
    QList<int> m_widths;
    int m_row = 0;
    int m_col = 0;
};

// The grid's cells; row r of the grid is model row r - 1, row 0 the header.
class BrowseGridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit BrowseGridModel(int cols, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    int gridRows() const { return int(m_cells.size()) + 1; }
    void setGridRows(int rows);
    QString cell(int row, int col) const;
    void setCell(int row, int col, const QString &text);
    int alignment(int col) const { return m_alignments.at(col); }
    void setAlignment(int col, int alignment);

private:
    int m_cols;
    QStringList m_header;
    QList<QStringList> m_cells;
    QList<int> m_alignments;
};
