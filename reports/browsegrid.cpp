#include "reports/browsegrid.h"

#include "platform/engineerror.h"
#include "platform/twips.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>

namespace {
[[noreturn]] void outOfRange(const char *what)
{
    throw platform::EngineError(platform::errnum::Generic,
                                QStringLiteral("Invalid %1 value").arg(QLatin1String(what)));
}

Qt::Alignment qtAlignment(int alignment)
{
    switch (alignment) {
    case 1: return Qt::AlignRight | Qt::AlignVCenter;
    case 2: return Qt::AlignHCenter | Qt::AlignVCenter;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
    }
}
} // namespace

BrowseGridModel::BrowseGridModel(int cols, QObject *parent)
    : QAbstractTableModel(parent)
    , m_cols(cols)
    , m_header(cols)
    , m_texts(size_t(cols))
    , m_alignments(cols, 0)
{}

int BrowseGridModel::Texts::indexOf(const QString &text)
{
    if (text.isEmpty())
        return 0;
    // Only a text shared with one of the last few is kept once: the browse
    // hands the very same text down a column (a title over its issues, a
    // condition, an amount), and comparing the characters of every cell
    // would cost more than an entry saves.
    for (const int i : recent) {
        const QString &t = texts.at(i);
        if (i != 0 && t.constData() == text.constData() && t.size() == text.size())
            return i;
    }
    const int i = int(texts.size());
    texts.append(text);
    recent[nextRecent++ % recent.size()] = i;
    if (text.size() > texts.at(longest).size())
        longest = i;
    return i;
}

int BrowseGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_shown;
}

int BrowseGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_cols;
}

QVariant BrowseGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return cell(index.row() + 1, index.column());
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(qtAlignment(m_alignments.at(index.column())));
    return {};
}

QVariant BrowseGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_cols)
        return m_header.at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void BrowseGridModel::setGridRows(int rows)
{
    const int wanted = qMax(0, rows - 1);
    if (wanted < m_shown) {
        beginRemoveRows(QModelIndex(), wanted, m_shown - 1);
        m_cells.resize(size_t(wanted) * size_t(m_cols));
        m_shown = wanted;
        endRemoveRows();
        return;
    }
    m_cells.resize(size_t(wanted) * size_t(m_cols), 0);
    if (!m_filling && wanted > m_shown) {
        beginInsertRows(QModelIndex(), m_shown, wanted - 1);
        m_shown = wanted;
        endInsertRows();
    }
}

void BrowseGridModel::endFill()
{
    m_filling = false;
    beginResetModel();
    m_shown = gridRows() - 1;
    endResetModel();
}

QString BrowseGridModel::cell(int row, int col) const
{
    if (row == 0)
        return m_header.at(col);
    return m_texts[size_t(col)].texts.at(m_cells[size_t(row - 1) * size_t(m_cols) + size_t(col)]);
}

QString BrowseGridModel::longest(int col) const
{
    const Texts &t = m_texts[size_t(col)];
    return t.texts.at(t.longest);
}

void BrowseGridModel::setCell(int row, int col, const QString &text)
{
    if (row == 0) {
        m_header[col] = text;
        emit headerDataChanged(Qt::Horizontal, col, col);
        return;
    }
    m_cells[size_t(row - 1) * size_t(m_cols) + size_t(col)] = m_texts[size_t(col)].indexOf(text);
    if (row - 1 < m_shown) {
        const QModelIndex i = index(row - 1, col);
        emit dataChanged(i, i, {Qt::DisplayRole});
    }
}

void BrowseGridModel::setAlignment(int col, int alignment)
{
    m_alignments[col] = alignment;
    if (m_shown > 0)
        emit dataChanged(index(0, col), index(m_shown - 1, col), {Qt::TextAlignmentRole});
}

BrowseGrid::BrowseGrid(int cols, QWidget *parent)
    : QTableView(parent)
    , m_model(new BrowseGridModel(cols, this))
    , m_widths(cols, 0)
{
    setModel(m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(false);
    // Row 0 is the header; there is no fixed column.
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    for (int c = 0; c < cols; ++c)
        setColWidth(c, 1200);
    setRows(2);
}

int BrowseGrid::rows() const
{
    return m_model->gridRows();
}

void BrowseGrid::setRows(int rows)
{
    if (rows < 1)
        outOfRange("row count");
    m_model->setGridRows(rows);
    if (m_row >= rows)
        m_row = rows - 1;
}

int BrowseGrid::cols() const
{
    return m_model->columnCount();
}

void BrowseGrid::setRow(int row)
{
    if (row < 0 || row >= rows())
        outOfRange("row");
    m_row = row;
}

void BrowseGrid::setCol(int col)
{
    if (col < 0 || col >= cols())
        outOfRange("column");
    m_col = col;
}

QString BrowseGrid::text() const
{
    return m_model->cell(m_row, m_col);
}

void BrowseGrid::setText(const QString &text)
{
    m_model->setCell(m_row, m_col, text);
}

QString BrowseGrid::cellText(int row, int col) const
{
    if (row < 0 || row >= rows())
        outOfRange("row");
    if (col < 0 || col >= cols())
        outOfRange("column");
    return m_model->cell(row, col);
}

int BrowseGrid::colWidth(int col) const
{
    if (col < 0 || col >= cols())
        outOfRange("column");
    return m_widths.at(col);
}

void BrowseGrid::setColWidth(int col, int twips)
{
    if (col < 0 || col >= cols() || twips < 0)
        outOfRange("column width");
    m_widths[col] = twips;
    setColumnWidth(col, platform::twipsToPixels(twips));
}

int BrowseGrid::colAlignment(int col) const
{
    if (col < 0 || col >= cols())
        outOfRange("column");
    return m_model->alignment(col);
}

void BrowseGrid::setColAlignment(int col, int alignment)
{
    if (col < 0 || col >= cols() || alignment < 0 || alignment > 2)
        outOfRange("column alignment");
    m_model->setAlignment(col, alignment);
}

void BrowseGrid::beginFill()
{
    m_model->beginFill();
}

void BrowseGrid::endFill()
{
    m_model->endFill();
}

int BrowseGrid::widthForTexts(int col) const
{
    // The item delegate's margins on both sides and the grid line.
    const int margins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 2;
    return qMax(fontMetrics().horizontalAdvance(m_model->longest(col)) + margins,
                horizontalHeader()->sectionSizeHint(col));
}

int BrowseGrid::fitColumns()
{
    int total = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < cols(); ++c) {
        setColumnWidth(c, qMax(columnWidth(c), widthForTexts(c)));
        total += columnWidth(c);
    }
    return total;
}

void BrowseGrid::showEvent(QShowEvent *event)
{
    QTableView::showEvent(event);
    fitColumns();
}
