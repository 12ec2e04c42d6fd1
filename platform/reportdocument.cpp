#include "platform/reportdocument.h"

#include "platform/reportformula.h"

#include <QPageSize>
#include <QPainter>

namespace platform {

class ReportDocumentImpl
{
public:
    ReportRequest request;
};

ReportDocument::ReportDocument(std::unique_ptr<ReportDocumentImpl> impl)
    : m_impl(std::move(impl))
{}

ReportDocument::~ReportDocument() = default;

std::unique_ptr<ReportDocument> ReportDocument::open(const ReportRequest &request)
{
    compileFormula(request.formula);
    auto impl = std::make_unique<ReportDocumentImpl>();
    impl->request = request;
    return std::unique_ptr<ReportDocument>(new ReportDocument(std::move(impl)));
}

QString ReportDocument::windowTitle() const { return m_impl->request.windowTitle; }

QPageLayout ReportDocument::pageLayout() const
{
    return QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(18, 18, 18, 18));
}

bool ReportDocument::layOutUpTo(int page) { return page == 0; }
bool ReportDocument::layOutSome(int) { return true; }
bool ReportDocument::isComplete() const { return true; }
int ReportDocument::pageCount() const { return 1; }

void ReportDocument::paintPage(int, QPainter &painter) const
{
    painter.drawText(QPointF(100, 100), m_impl->request.windowTitle);
}

} // namespace platform
