// The patient list layout over many patients, straight to PDF, against a baseline that draws
// the same lines directly with QPainter on a QPdfWriter in the same process. Prints pages per
// second for both and the ratio of their times.
#include "connection.h"
#include "connectionstring.h"
#include "program.h"
#include "recordset.h"
#include "reportproject.h"
#include "schema.h"
#include "sqltext.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFont>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <cstdio>

namespace {

const QString kListSql = QStringLiteral(
    "SELECT ID,ONOMA,EPWNYMO,FYLO,HMEROMHNIA_GENNHSEWS,THLEFWNO_1,THLEFWNO_2,DIEYTHYNSH, "
    "EPAGGELMA, TAMEIO FROM STOIXEIA_PELATH ORDER BY EPWNYMO ASC");

void fill(Connection &c, int patients)
{
    const QStringList surnames {"Παπαδόπουλος", "Αντωνίου", "Ζαχαρίου",     "Γεωργίου",  "Νικολάου",
                                "Κωνσταντίνου", "Ιωάννου",  "Χριστοδούλου", "Δημητρίου", "Σάββα"};
    const QStringList names {"Γιώργος", "Μαρία", "Ελένη", "Νίκος", "Άννα", "Κώστας", "Σοφία"};
    c.beginTransaction();
    for (int i = 0; i < patients; ++i) {
        c.executeNative(QStringLiteral(
                            "INSERT INTO STOIXEIA_PELATH (ONOMA, EPWNYMO, FYLO, "
                            "HMEROMHNIA_GENNHSEWS, THLEFWNO_1, THLEFWNO_2, DIEYTHYNSH, EPAGGELMA, "
                            "TAMEIO) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                        {names[i % names.size()],
                         surnames[i % surnames.size()] + QString::number(i),
                         i % 2 ? QStringLiteral("ΘΗΛΥ") : QStringLiteral("ΑΡΡΕΝ"),
                         QDate(1940 + i % 60, 1 + i % 12, 1 + i % 28).toString(Qt::ISODate),
                         QStringLiteral("2101%1").arg(i, 6, 10, QLatin1Char('0')),
                         QStringLiteral("697%1").arg(i, 7, 10, QLatin1Char('0')),
                         QStringLiteral("Οδός Ερμού %1, Αθήνα").arg(i % 200),
                         QStringLiteral("Λογιστής"), QStringLiteral("ΙΚΑ")});
    }
    c.commit();
}

// The same page as the layout draws it, written by hand: header, column titles, 10 cells and a
// rule per row, footer with the page number.
int baseline(const Query &q, const QString &path, int rowsPerPage)
{
    QPdfWriter writer(path);
    writer.setResolution(1200);
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF()));
    QPainter p(&writer);
    const double mm = writer.resolution() / 25.4;
    QFont normal(QStringLiteral("DejaVu Sans"));
    normal.setPointSizeF(8.5);
    QFont bold = normal;
    bold.setBold(true);
    QFont title = bold;
    title.setPointSizeF(15);
    const double xs[] = {1, 12, 50, 76, 89, 114, 138, 162, 215, 247};
    const double ws[] = {9, 37, 25, 13, 25, 23, 23, 52, 31, 30};
    const QStringList heads {"Α/Α",        "Επώνυμο",    "Όνομα",     "Φύλο",      "Ημ. γέννησης",
                             "Τηλέφωνο 1", "Τηλέφωνο 2", "Διεύθυνση", "Επάγγελμα", "Ταμείο"};
    const int rows = q.rowCount();
    const int pages = (rows + rowsPerPage - 1) / rowsPerPage;
    auto rect = [mm](double x, double y, double w, double h) {
        return QRectF(x * mm, y * mm, w * mm, h * mm);
    };
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            writer.newPage();
        p.setFont(title);
        p.drawText(rect(10, 10, 180, 8), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Λίστα των ασθενών"));
        p.drawLine(QPointF(10 * mm, 19.5 * mm), QPointF(287 * mm, 19.5 * mm));
        p.setFont(bold);
        p.fillRect(rect(10, 23, 277, 7), QColor(0xdc, 0xe6, 0xf0));
        for (int c = 0; c < 10; ++c)
            p.drawText(rect(10 + xs[c], 23, ws[c], 7), Qt::AlignLeft | Qt::AlignVCenter, heads[c]);
        p.setFont(normal);
        double y = 30;
        for (int r = page * rowsPerPage; r < std::min(rows, (page + 1) * rowsPerPage); ++r) {
            p.drawText(rect(11, y, 9, 6), Qt::AlignRight | Qt::AlignVCenter,
                       QString::number(r + 1));
            const int cols[] = {2, 1, 3, 4, 5, 6, 7, 8, 9};
            for (int c = 0; c < 9; ++c) {
                QString text = q.text(r, cols[c]);
                if (cols[c] == 4)
                    text = SqlText::dateText(
                        QDate::fromString(q.value(r, 4).toString(), Qt::ISODate));
                p.drawText(rect(10 + xs[c + 1], y, ws[c + 1], 6), Qt::AlignLeft | Qt::AlignVCenter,
                           text);
            }
            p.drawLine(QPointF(10 * mm, (y + 6) * mm), QPointF(287 * mm, (y + 6) * mm));
            y += 6;
        }
        p.drawText(rect(187, 202, 100, 5), Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("Σελίδα %1 από %2").arg(page + 1).arg(pages));
    }
    p.end();
    return pages;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int patients = argc > 1 ? std::max(1, atoi(argv[1])) : 50000;
    QTemporaryDir dir;
    Program::AppDir = dir.path();
    Program::DbConnectionString = ConnectionString::build(dir.path());
    Schema::createPracticeDatabase(QDir(dir.path()).filePath(QStringLiteral("data.mdb")),
                                   QLatin1String(ConnectionString::kDatabasePassword));
    QFile::copy(QStringLiteral(ORVANTA_SOURCE_LAYOUTS "/LIST.RAV"),
                QDir(dir.path()).filePath(QStringLiteral("LIST.RAV")));
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    fill(c, patients);
    Query q(c);
    q.setSql(kListSql);
    q.open();
    std::printf("patients: %d\n", q.rowCount());

    ReportProject report;
    report.addConnection(QStringLiteral("RvDataSetConnection7"), &q);
    report.setProjectFile(Program::AppDir + QStringLiteral("\\LIST.RAV"));

    QElapsedTimer t;
    t.start();
    const Report::RenderedReport rendered = report.render();
    const qint64 layoutMs = t.elapsed();
    ReportOutput::writePdf(rendered, QDir(dir.path()).filePath(QStringLiteral("engine.pdf")));
    const qint64 engineMs = t.elapsed();
    const int pages = rendered.pageCount();
    // Rows on a full page of the engine's output, so the baseline draws the same pages.
    const int rowsPerPage = (patients + pages - 1) / pages;

    t.restart();
    const int basePages
        = baseline(q, QDir(dir.path()).filePath(QStringLiteral("baseline.pdf")), rowsPerPage);
    const qint64 baseMs = t.elapsed();

    std::printf("engine:   %d pages in %lld ms (layout %lld ms) = %.1f pages/s\n", pages, engineMs,
                layoutMs, pages * 1000.0 / std::max<qint64>(1, engineMs));
    std::printf("baseline: %d pages in %lld ms = %.1f pages/s\n", basePages, baseMs,
                basePages * 1000.0 / std::max<qint64>(1, baseMs));
    std::printf("ratio engine/baseline (time): %.2f\n",
                double(engineMs) / std::max<qint64>(1, baseMs));
    return 0;
}
