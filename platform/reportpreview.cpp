#include "platform/reportpreview.h"

#include "platform/csvfile.h"
#include "platform/engineerror.h"
#include "platform/feedback.h"
#include "platform/filedialog.h"
#include "platform/messagebox.h"
#include "platform/reportdocument.h"
#include "platform/reportoutput.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace platform {

namespace {
// The hourglass over the whole program while the preview works.
struct Hourglass
{
    Hourglass() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Hourglass() { QApplication::restoreOverrideCursor(); }
    Hourglass(const Hourglass &) = delete;
    Hourglass &operator=(const Hourglass &) = delete;
};
constexpr double ZoomStep = 1.25;
constexpr double MinZoom = 0.1;
constexpr double MaxZoom = 8.0;
// Long enough to lay out many pages per tick, short enough that keys and
// clicks are answered at once meanwhile.
constexpr int LayoutSliceMs = 30;
// Space kept around the page in the view.
constexpr int PageMargin = 12;

QPointer<ReportPreview> &currentPreview()
{
    static QPointer<ReportPreview> p;
    return p;
}

bool choosePrinterWithDialog(QPrinter &printer, QWidget *parent)
{
    if (QPrinterInfo::availablePrinterNames().isEmpty())
        throw EngineError(errnum::Generic,
                          QStringLiteral("No printer is installed. Preview the report and use Export PDF... "
                                         "to keep it as a file."));
    QPrintDialog dialog(&printer, parent);
    // A report always prints whole.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    return dialog.exec() == QDialog::Accepted;
}

PrinterChooser &printerChooser()
{
    static PrinterChooser c;
    return c;
}

// Runs work with a progress window showing pages done of all; its Cancel
// makes the progress callback answer false.
void withProgress(QWidget *parent, const QString &what,
                  const std::function<void(const ReportProgress &)> &work)
{
    QProgressDialog dialog(what, QStringLiteral("Cancel"), 0, 0, parent);
    dialog.setWindowTitle(what);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(300);
    dialog.setAutoReset(false);
    dialog.setAutoClose(false);
    work([&](int done, int total) {
        dialog.setMaximum(total);
        dialog.setLabelText(QStringLiteral("%1: page %2 of %3").arg(what).arg(done).arg(total));
        dialog.setValue(done);
        QCoreApplication::processEvents();
        return !dialog.wasCanceled();
    });
}

QToolButton *button(QWidget *parent, QLayout *layout, const char *name, const QString &caption,
                    const QString &tip)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setText(caption);
    b->setToolTip(tip);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::TabFocus);
    layout->addWidget(b);
    return b;
}
} // namespace

void setPrinterChooser(PrinterChooser chooser)
{
    printerChooser() = std::move(chooser);
}

void printWithProgress(ReportDocument &doc, QWidget *parent)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(doc.windowTitle());
    printer.setPageLayout(doc.pageLayout());
    const bool chosen =
        printerChooser() ? printerChooser()(printer, parent) : choosePrinterWithDialog(printer, parent);
    if (!chosen)
        throw EngineError(errnum::ReportCancelled, QStringLiteral("Printing was cancelled."));
    withProgress(parent, QStringLiteral("Printing"),
                 [&](const ReportProgress &progress) { printReport(doc, printer, progress); });
    if (printer.printerState() == QPrinter::Error)
        throw EngineError(errnum::Generic, QStringLiteral("The printer reported an error; the report may not "
                                                          "have been printed."));
}

ReportPreview *openPreview()
{
    return currentPreview();
}

void runReportWithEngine(const ReportRun &run)
{
    if (ReportPreview *open = currentPreview()) {
        // One report at a time: the one still open is brought forward so the
        // user sees what to close.
        if (open->isMinimized())
            open->showNormal();
        open->raise();
        open->activateWindow();
        throw EngineError(errnum::Generic,
                          QStringLiteral("Another report is still open in its preview window."));
    }
    std::unique_ptr<ReportDocument> doc =
        ReportDocument::open(ReportRequest{run.dataFile, run.reportFile, run.windowTitle, run.formula});
    // A collection that cannot be read fails the run here, before any window.
    doc->layOutUpTo(0);
    if (run.destination != 0) {
        printWithProgress(*doc, run.owner);
        return;
    }
    const PreviewOptions options = run.preview.value_or(PreviewOptions{});
    auto *preview = new ReportPreview(std::move(doc), options, run.owner);
    if (options.windowState == 2)
        preview->showMaximized();
    else if (options.windowState == 1)
        preview->showMinimized();
    else
        preview->show();
    if (options.modal) {
        QEventLoop loop;
        QObject::connect(preview, &QObject::destroyed, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

ReportPreview::ReportPreview(std::unique_ptr<ReportDocument> doc, const PreviewOptions &options,
                             QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_doc(std::move(doc))
{
    setObjectName(QStringLiteral("ReportPreview"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(m_doc->windowTitle());
    if (options.modal)
        setWindowModality(Qt::ApplicationModal);
    currentPreview() = this;

    auto *bar = new QHBoxLayout;
    bar->setSpacing(2);
    cmdFirst =
        button(this, bar, "cmdFirst", QStringLiteral("&First"), QStringLiteral("First page (Ctrl+Home)"));
    cmdPrevious = button(this, bar, "cmdPrevious", QStringLiteral("&Previous"),
                         QStringLiteral("Previous page (Page Up)"));
    txtPage = new QSpinBox(this);
    txtPage->setObjectName(QStringLiteral("txtPage"));
    txtPage->setRange(1, 1);
    txtPage->setPrefix(QStringLiteral("Page "));
    txtPage->setKeyboardTracking(false);
    txtPage->setToolTip(QStringLiteral("Type a page number and press Enter"));
    bar->addWidget(txtPage);
    lblPageCount = new QLabel(this);
    lblPageCount->setObjectName(QStringLiteral("lblPageCount"));
    bar->addWidget(lblPageCount);
    cmdNext = button(this, bar, "cmdNext", QStringLiteral("&Next"), QStringLiteral("Next page (Page Down)"));
    cmdLast = button(this, bar, "cmdLast", QStringLiteral("&Last"), QStringLiteral("Last page (Ctrl+End)"));
    bar->addSpacing(12);
    cmdFitWidth =
        button(this, bar, "cmdFitWidth", QStringLiteral("Fit &Width"), QStringLiteral("Fit the page width"));
    cmdFitPage =
        button(this, bar, "cmdFitPage", QStringLiteral("Fit P&age"), QStringLiteral("Show the whole page"));
    cmdZoomIn =
        button(this, bar, "cmdZoomIn", QStringLiteral("Zoom &In"), QStringLiteral("Zoom in (Ctrl++)"));
    cmdZoomOut =
        button(this, bar, "cmdZoomOut", QStringLiteral("Zoom &Out"), QStringLiteral("Zoom out (Ctrl+-)"));
    bar->addSpacing(12);
    cmdPrint = button(this, bar, "cmdPrint", QStringLiteral("P&rint..."),
                      QStringLiteral("Print the report (Ctrl+P)"));
    cmdExport = button(this, bar, "cmdExport", QStringLiteral("&Export PDF..."),
                       QStringLiteral("Save the report as a PDF file"));
    cmdExportCsv = button(this, bar, "cmdExportCsv", QStringLiteral("E&xport CSV..."),
                          QStringLiteral("Save the report's issues as a CSV file for a spreadsheet"));
    bar->addStretch();
    cmdClose =
        button(this, bar, "cmdClose", QStringLiteral("&Close"), QStringLiteral("Close the preview (Esc)"));
    for (QWidget *w : {static_cast<QWidget *>(cmdFirst), static_cast<QWidget *>(cmdPrevious),
                       static_cast<QWidget *>(txtPage), static_cast<QWidget *>(lblPageCount),
                       static_cast<QWidget *>(cmdNext), static_cast<QWidget *>(cmdLast)})
        w->setVisible(options.showPageButtons);
    cmdPrint->setVisible(options.showPrintButtons);
    cmdExport->setVisible(options.showPrintButtons);
    cmdExportCsv->setVisible(options.showPrintButtons);

    imgPage = new QLabel;
    imgPage->setObjectName(QStringLiteral("imgPage"));
    imgPage->setAlignment(Qt::AlignCenter);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("scrPage"));
    m_scroll->setWidget(imgPage);
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->setFocusPolicy(Qt::StrongFocus);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(bar);
    layout->addWidget(m_scroll, 1);

    connect(cmdFirst, &QToolButton::clicked, this, &ReportPreview::firstPage);
    connect(cmdPrevious, &QToolButton::clicked, this, &ReportPreview::previousPage);
    connect(cmdNext, &QToolButton::clicked, this, &ReportPreview::nextPage);
    connect(cmdLast, &QToolButton::clicked, this, &ReportPreview::lastPage);
    connect(txtPage, &QSpinBox::valueChanged, this, [this](int v) { showPage(v - 1); });
    connect(cmdFitWidth, &QToolButton::clicked, this, [this] { setZoom(Zoom::FitWidth); });
    connect(cmdFitPage, &QToolButton::clicked, this, [this] { setZoom(Zoom::FitPage); });
    connect(cmdZoomIn, &QToolButton::clicked, this, &ReportPreview::zoomIn);
    connect(cmdZoomOut, &QToolButton::clicked, this, &ReportPreview::zoomOut);
    connect(cmdPrint, &QToolButton::clicked, this, &ReportPreview::print);
    connect(cmdExport, &QToolButton::clicked, this, &ReportPreview::exportPdf);
    connect(cmdExportCsv, &QToolButton::clicked, this, &ReportPreview::exportCsv);
    connect(cmdClose, &QToolButton::clicked, this, &QWidget::close);

    const std::pair<QKeySequence, std::function<void()>> keys[] = {
        {QKeySequence(Qt::Key_PageUp), [this] { previousPage(); }},
        {QKeySequence(Qt::Key_PageDown), [this] { nextPage(); }},
        {QKeySequence(Qt::CTRL | Qt::Key_Home), [this] { firstPage(); }},
        {QKeySequence(Qt::CTRL | Qt::Key_End), [this] { lastPage(); }},
        {QKeySequence(Qt::CTRL | Qt::Key_P),
         [this] {
             if (cmdPrint->isVisible())
                 print();
         }},
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), [this] { zoomIn(); }},
        {QKeySequence(Qt::CTRL | Qt::Key_Equal), [this] { zoomIn(); }},
        {QKeySequence(Qt::CTRL | Qt::Key_Minus), [this] { zoomOut(); }},
        {QKeySequence(Qt::Key_Escape), [this] { close(); }},
    };
    for (const auto &[key, action] : keys) {
        auto *s = new QShortcut(key, this);
        connect(s, &QShortcut::activated, this, action);
    }

    // About the size of a page at fit width, within the screen.
    const QRect available = (parent ? parent->screen() : QApplication::primaryScreen())->availableGeometry();
    resize(qMin(available.width(), 900), qMin(available.height(), 1000));

    m_layout.setInterval(0);
    connect(&m_layout, &QTimer::timeout, this, &ReportPreview::layOutMore);
    if (!m_doc->isComplete())
        m_layout.start();
    updatePageControls();
    render();
    m_scroll->setFocus();
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::layOutMore()
{
    guarded([this] {
        if (m_doc->layOutSome(LayoutSliceMs))
            m_layout.stop();
    });
    updatePageControls();
}

bool ReportPreview::guarded(const std::function<void()> &work)
{
    try {
        work();
        return true;
    } catch (const EngineError &e) {
        // The pages so far stay readable; no more are laid out.
        m_layout.stop();
        m_failed = true;
        showMessage(e.text(), windowTitle(), MsgButtons::OK, MsgIcon::Exclamation);
        return false;
    }
}

void ReportPreview::updatePageControls()
{
    const int count = qMax(1, m_doc->pageCount());
    {
        const QSignalBlocker blocker(txtPage);
        txtPage->setRange(1, count);
        txtPage->setValue(m_page + 1);
    }
    lblPageCount->setText(m_doc->isComplete() || m_failed ? QStringLiteral("of %1").arg(count)
                                                          : QStringLiteral("of %1 so far...").arg(count));
    const bool atEnd = (m_doc->isComplete() || m_failed) && m_page >= count - 1;
    cmdFirst->setEnabled(m_page > 0);
    cmdPrevious->setEnabled(m_page > 0);
    cmdNext->setEnabled(!atEnd);
    cmdLast->setEnabled(!atEnd);
}

void ReportPreview::showPage(int page)
{
    if (page < 0)
        page = 0;
    if (page >= m_doc->pageCount() && !m_doc->isComplete() && !m_failed)
        guarded([&] { m_doc->layOutUpTo(page); });
    page = qMin(page, qMax(0, m_doc->pageCount() - 1));
    const bool changed = page != m_page;
    m_page = page;
    updatePageControls();
    if (changed) {
        render();
        m_scroll->verticalScrollBar()->setValue(0);
    }
}

void ReportPreview::lastPage()
{
    if (!m_doc->isComplete() && !m_failed) {
        const Hourglass busy;
        guarded([this] {
            while (!m_doc->layOutSome(1000)) {
            }
        });
        m_layout.stop();
    }
    showPage(m_doc->pageCount() - 1);
}

double ReportPreview::effectiveFactor() const
{
    if (m_zoom == Zoom::Factor)
        return m_factor;
    const QSizeF inches = m_doc->pageLayout().fullRect(QPageLayout::Inch).size();
    const double dpi = logicalDpiX();
    // Room for the vertical scroll bar is kept, so fitting the width never
    // needs a horizontal one.
    const int bar = m_scroll->verticalScrollBar()->isVisible()
                        ? 0
                        : style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_scroll);
    const QSize view = m_scroll->viewport()->size() - QSize(2 * PageMargin + bar, 2 * PageMargin);
    const double byWidth = view.width() / (inches.width() * dpi);
    const double byHeight = view.height() / (inches.height() * dpi);
    const double f = m_zoom == Zoom::FitWidth ? byWidth : qMin(byWidth, byHeight);
    return qBound(MinZoom, f, MaxZoom);
}

void ReportPreview::setZoom(Zoom zoom, double factor)
{
    m_zoom = zoom;
    m_factor = qBound(MinZoom, factor, MaxZoom);
    render();
}

void ReportPreview::zoomIn()
{
    setZoom(Zoom::Factor, effectiveFactor() * ZoomStep);
}

void ReportPreview::zoomOut()
{
    setZoom(Zoom::Factor, effectiveFactor() / ZoomStep);
}

void ReportPreview::render()
{
    if (m_zoom != Zoom::Factor)
        m_factor = effectiveFactor();
    const double dpi = logicalDpiX() * m_factor;
    const QSizeF inches = m_doc->pageLayout().fullRect(QPageLayout::Inch).size();
    QImage image(QSize(qMax(1, qRound(inches.width() * dpi)), qMax(1, qRound(inches.height() * dpi))),
                 QImage::Format_ARGB32_Premultiplied);
    const int dotsPerMeter = qRound(dpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    if (m_doc->pageCount() > 0) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        // The report paints from the corner of its printable area.
        painter.translate(m_doc->pageLayout().paintRect(QPageLayout::Inch).topLeft() * dpi);
        m_doc->paintPage(m_page, painter);
    }
    imgPage->setPixmap(QPixmap::fromImage(image));
    imgPage->resize(image.size() + QSize(2 * PageMargin, 2 * PageMargin));
}

void ReportPreview::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_zoom != Zoom::Factor)
        render();
}

void ReportPreview::closeEvent(QCloseEvent *event)
{
    // Printing runs inside this window; it ends first.
    if (m_busy) {
        event->ignore();
        return;
    }
    m_layout.stop();
    QWidget::closeEvent(event);
}

void ReportPreview::output(const std::function<void()> &work)
{
    m_busy = true;
    m_layout.stop();
    try {
        work();
        m_busy = false;
    } catch (const EngineError &e) {
        m_busy = false;
        if (e.number() == errnum::ReportCancelled)
            showStatus(QStringLiteral("Report Cancelled..."));
        else
            showMessage(e.text(), windowTitle(), MsgButtons::OK, MsgIcon::Exclamation);
    }
    if (!m_doc->isComplete() && !m_failed)
        m_layout.start();
    updatePageControls();
}

void ReportPreview::print()
{
    output([this] { printWithProgress(*m_doc, this); });
}

void ReportPreview::exportPdf()
{
    output([this] {
        const std::optional<QString> path =
            chooseFile(exportFileRequest(QStringLiteral("Export PDF"),
                                         QStringLiteral("PDF Files (*.pdf)|*.pdf|All Files (*.*)|*.*"),
                                         QStringLiteral("pdf")),
                       this);
        if (!path)
            throw EngineError(errnum::ReportCancelled, QStringLiteral("Export was cancelled."));
        withProgress(this, QStringLiteral("Exporting"),
                     [&](const ReportProgress &progress) { writeReportPdf(*m_doc, *path, progress); });
        showStatus(QStringLiteral("Report saved as ") + QDir::toNativeSeparators(*path));
    });
}

void ReportPreview::exportCsv()
{
    output([this] {
        const std::optional<QString> path = chooseFile(csvExportRequest(m_doc->dataFile()), this);
        if (!path)
            throw EngineError(errnum::ReportCancelled, QStringLiteral("Export was cancelled."));
        int rows = 0;
        {
            const Hourglass busy;
            rows = m_doc->writeCsv(*path);
        }
        showStatus(exportedText(rows, *path, m_doc->csvRowName()));
    });
}

} // namespace platform
