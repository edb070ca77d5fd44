#include "reportproject.h"

#include "recordset.h"
#include "reporterror.h"

#include <QDir>
#include <QPainter>
#include <QPdfWriter>

namespace {
ReportOutput::Handler &handler()
{
    static ReportOutput::Handler h;
    return h;
}
} // namespace

RecordSet *DataConnection::dataSet() const
{
    return m_query ? static_cast<RecordSet *>(m_query) : static_cast<RecordSet *>(m_table);
}

bool DataConnection::openForRun()
{
    RecordSet *set = dataSet();
    if (!set || set->isOpen())
        return false;
    if (m_query)
        m_query->open();
    else
        m_table->open();
    return true;
}

ReportProject::ReportProject(QWidget *owner)
    : QObject(nullptr)
    , m_owner(owner)
{}

void ReportProject::addConnection(const DataConnection &connection)
{
    for (DataConnection &c : m_connections)
        if (c.name() == connection.name()) {
            c = connection;
            return;
        }
    m_connections.push_back(connection);
}

Report::RenderedReport ReportProject::render()
{
    const Report::Layout layout = Report::loadLayout(m_projectFile);
    std::vector<DataConnection *> openedHere;
    struct CloseAfterRun {
        std::vector<DataConnection *> &sets;
        ~CloseAfterRun()
        {
            for (DataConnection *c : sets)
                c->dataSet()->close();
        }
    } closer {openedHere};
    Report::Connections data;
    const QStringList used = layout.connections();
    for (DataConnection &c : m_connections) {
        if (!used.contains(c.name()))
            continue;
        if (c.openForRun())
            openedHere.push_back(&c);
        data.insert(c.name(), c.dataSet());
    }
    return Report::render(layout, data);
}

void ReportProject::execute()
{
    const Report::RenderedReport report = render();
    ReportOutput::deliver(report, m_projectFile, m_owner);
}

namespace ReportOutput {

void install(Handler h)
{
    handler() = std::move(h);
}

void deliver(const Report::RenderedReport &report, const QString &projectFile, QWidget *parent)
{
    if (handler())
        handler()(report, projectFile, parent);
    else
        interactive(report, parent);
}

namespace {

bool paintPdf(QPdfWriter &writer, const Report::RenderedReport &report, int first, int last)
{
    if (last <= 0 || last > report.pageCount())
        last = report.pageCount();
    first = std::max(1, first);
    writer.setTitle(report.title);
    writer.setCreator(QStringLiteral("Orvanta"));
    writer.setResolution(1200);
    writer.setPageLayout(QPageLayout(report.pageSize, report.orientation, QMarginsF()));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    const double dotsPerMm = writer.resolution() / 25.4;
    bool firstPage = true;
    for (int p = first; p <= last; ++p) {
        if (!firstPage)
            writer.newPage();
        firstPage = false;
        report.paintPage(painter, p - 1, dotsPerMm);
    }
    return painter.end();
}

} // namespace

bool writePdf(const Report::RenderedReport &report, const QString &path, int first, int last)
{
    QPdfWriter writer(path);
    return paintPdf(writer, report, first, last);
}

bool writePdf(const Report::RenderedReport &report, QIODevice *device, int first, int last)
{
    QPdfWriter writer(device);
    return paintPdf(writer, report, first, last);
}

void savePdf(const Report::RenderedReport &report, const QString &path, int first, int last)
{
    if (!writePdf(report, path, first, last))
        throw ReportError(QStringLiteral("The file \"%1\" cannot be written.")
                              .arg(QDir::toNativeSeparators(path)));
}

} // namespace ReportOutput
