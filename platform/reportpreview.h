#pragma once

#include "platform/reportcontrol.h"

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QPrinter;
class QScrollArea;
class QSpinBox;
class QToolButton;

namespace platform {

class ReportDocument;

// Chooses the printer for a run: the platform's print dialog. False when the
// user cancels; throws EngineError when no printer is installed.
using PrinterChooser = std::function<bool(QPrinter &printer, QWidget *parent)>;
// Tests choose a printer (a PDF file) from a script; an empty chooser
// restores the print dialog.
void setPrinterChooser(PrinterChooser chooser);

// Prints every page of the document on a printer the user chooses, showing
// pages done of all with a Cancel. Cancel in the dialog or during printing
// throws errnum::ReportCancelled; a failure another EngineError.
void printWithProgress(ReportDocument &doc, QWidget *parent);

// The preview window open now, if any.
class ReportPreview;
ReportPreview *openPreview();

// A report's pages on screen, laid out a time slice at a time so the first
// page shows at once whatever the report's size.
class ReportPreview : public QWidget
{
    Q_OBJECT

public:
    enum class Zoom { FitWidth, FitPage, Factor };

    ReportPreview(std::unique_ptr<ReportDocument> doc, const PreviewOptions &options, QWidget *parent);
    ~ReportPreview() override;

    int currentPage() const { return m_page; } // 0-based
    double zoomFactor() const { return m_factor; }
    Zoom zoomMode() const { return m_zoom; }
    ReportDocument &document() { return *m_doc; }

    void showPage(int page);
    void firstPage() { showPage(0); }
    void previousPage() { showPage(m_page - 1); }
    void nextPage() { showPage(m_page + 1); }
    void lastPage();
    void setZoom(Zoom zoom, double factor = 1.0);
    void zoomIn();
    void zoomOut();
    void print();
    void exportPdf();
    void exportCsv();

    QToolButton *cmdFirst;
    QToolButton *cmdPrevious;
    QSpinBox *txtPage;
    QLabel *lblPageCount;
    QToolButton *cmdNext;
    QToolButton *cmdLast;
    QToolButton *cmdFitWidth;
    QToolButton *cmdFitPage;
    QToolButton *cmdZoomIn;
    QToolButton *cmdZoomOut;
    QToolButton *cmdPrint;
    QToolButton *cmdExport;
    QToolButton *cmdExportCsv;
    QToolButton *cmdClose;
    QLabel *imgPage;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void layOutMore();
    // Runs a layout step; a read failure is told once and stops the layout.
    bool guarded(const std::function<void()> &work);
    void updatePageControls();
    void render();
    double effectiveFactor() const;
    // Runs print or export, telling the user how it ended.
    void output(const std::function<void()> &work);

    std::unique_ptr<ReportDocument> m_doc;
    QScrollArea *m_scroll;
    QTimer m_layout;
    int m_page = 0;
    Zoom m_zoom = Zoom::FitWidth;
    double m_factor = 1.0;
    bool m_busy = false;
    bool m_failed = false;
};

} // namespace platform
