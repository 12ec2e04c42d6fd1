#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>
#include <QTableView>
#include <array>
#include <vector>

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

    // Rows written between these two are shown together at the end, rather
    // than announced to the view one row and one cell at a time.
    void beginFill();
    void endFill();

    int colWidth(int col) const;
    void setColWidth(int col, int twips);
    int colAlignment(int col) const;
    void setColAlignment(int col, int alignment);

    // The width in pixels that shows every text of the column and its
    // header whole (the longest text is kept while filling).
    int widthForTexts(int col) const;
    // Widens each column to its texts; returns the width in pixels the grid
    // needs to show all its columns side by side.
    int fitColumns();

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

    int gridRows() const { return int(m_cells.size() / size_t(m_cols)) + 1; }
    void setGridRows(int rows);
    QString cell(int row, int col) const;
    void setCell(int row, int col, const QString &text);
    int alignment(int col) const { return m_alignments.at(col); }
    void setAlignment(int col, int alignment);
    // The longest text written into a column's rows.
    QString longest(int col) const;

    void beginFill() { m_filling = true; }
    void endFill();

private:
    // A column's texts; a cell holds an index into them. Texts repeat down
    // a column (a title over its issues, the eight conditions), so a text
    // shared with one of the last few is not added again.
    struct Texts
    {
        QStringList texts{QString()};
        std::array<int, 8> recent{};
        size_t nextRecent = 0;
        int longest = 0;
        int indexOf(const QString &text);
    };

    int m_cols;
    QStringList m_header;
    std::vector<qint32> m_cells; // row-major, (grid rows - 1) x columns
    std::vector<Texts> m_texts;
    QList<int> m_alignments;
    int m_shown = 0; // the rows the views know of
    bool m_filling = false;
};
