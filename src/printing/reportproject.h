#pragma once

#include "renderer.h"

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QIODevice;
class QWidget;
class Query;
class Table;
class RecordSet;

// A named data connection: a query or a table of the window that prints, exposed to layouts
// under a fixed name (RvDataSetConnection7 and the others). Names are unique in the program.
class DataConnection {
public:
    DataConnection(const QString &name, Query *query)
        : m_name(name)
        , m_query(query)
    {}
    DataConnection(const QString &name, Table *table)
        : m_name(name)
        , m_table(table)
    {}
    QString name() const { return m_name; }
    RecordSet *dataSet() const;
    // Opens a data set that is still closed; true when it did (so the run closes it again).
    bool openForRun();

private:
    QString m_name;
    Query *m_query = nullptr;
    Table *m_table = nullptr;
};
using TRvDataSetConnection = DataConnection;

// One report component: the full name of its layout file and the data connections the layout
// may read. execute() reads the named file on every run (so a component given another name
// runs the other file), lays the report out and hands it to the output: the output-options
// dialogue with preview, printer or PDF file, or, in tests, straight to a PDF file.
class ReportProject : public QObject {
    Q_OBJECT
public:
    explicit ReportProject(QWidget *owner = nullptr);

    void setProjectFile(const QString &fullName) { m_projectFile = fullName; }
    QString projectFile() const { return m_projectFile; }

    void addConnection(const DataConnection &connection);
    void addConnection(const QString &name, Query *query) { addConnection({name, query}); }
    void addConnection(const QString &name, Table *table) { addConnection({name, table}); }
    const std::vector<DataConnection> &connections() const { return m_connections; }

    // Runs the layout's report. A data set still closed is opened for the run and closed again
    // afterwards. Throws ReportError for a missing or unreadable layout file, DbError when a
    // data set cannot be opened. Cancelling the output dialogue ends the run normally.
    void execute();
    // Loads the layout and lays the report out, without any output.
    Report::RenderedReport render();

private:
    QWidget *m_owner = nullptr;
    QString m_projectFile;
    std::vector<DataConnection> m_connections;
};
using TRvProject = ReportProject;

// Where a laid-out report goes. By default the person chooses in the output-options dialogue;
// tests install a handler that writes it to a PDF file without any dialogue.
namespace ReportOutput {

using Handler = std::function<void(const Report::RenderedReport &report, const QString &projectFile,
                                   QWidget *parent)>;
void install(Handler handler); // an empty handler restores the dialogue
void deliver(const Report::RenderedReport &report, const QString &projectFile, QWidget *parent);

// The output-options dialogue, then the preview, the printer or the PDF file.
void interactive(const Report::RenderedReport &report, QWidget *parent);

// Writes pages first..last (1-based; 0 for the last page) to a PDF file; false when the file
// cannot be written.
bool writePdf(const Report::RenderedReport &report, const QString &path, int first = 1,
              int last = 0);
// The same into an open device (a file that an export renames into place once it is whole).
bool writePdf(const Report::RenderedReport &report, QIODevice *device, int first = 1,
              int last = 0);
// The same, for a run: a file that cannot be written (a folder that does not exist, or one
// that may not be written to) throws ReportError naming it, so the run ends in an error.
void savePdf(const Report::RenderedReport &report, const QString &path, int first = 1,
             int last = 0);

} // namespace ReportOutput
