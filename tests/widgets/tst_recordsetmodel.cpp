// The model every grid shows its rows through keeps Qt's model contract whatever the record
// set does: QAbstractItemModelTester watches it while a grid looks at it.
#include "connection.h"
#include "program.h"
#include "recordgrid.h"
#include "recordset.h"
#include "testsupport.h"

#include <QAbstractItemModelTester>
#include <QtTest>

#include <functional>
#include <memory>

using namespace TestSupport;

class RecordSetModelTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_practice = std::make_unique<TempPractice>();
        for (const char *t : {"Γάμμα", "Άλφα", "Βήτα"})
            m_practice->exec(QStringLiteral("INSERT INTO SHMEIWSEIS(TITLOS) VALUES('%1')")
                                 .arg(QString::fromUtf8(t)));
        m_connection = std::make_unique<Connection>();
        m_connection->setUp(Program::DbConnectionString, true);
    }
    void cleanup()
    {
        m_connection.reset();
        m_practice.reset();
    }

    void keepsTheContractThroughEveryChange_data()
    {
        QTest::addColumn<bool>("chosenColumns");
        QTest::newRow("every field") << false;
        QTest::newRow("chosen columns") << true;
    }

    void keepsTheContractThroughEveryChange()
    {
        QFETCH(bool, chosenColumns);
        Table t(*m_connection);
        t.setTableName(QStringLiteral("SHMEIWSEIS"));
        RecordGrid grid;
        grid.setRecordSet(&t,
                          chosenColumns ? QList<GridColumn> {{QStringLiteral("TITLOS"),
                                                              QStringLiteral("Τίτλος"), 150}}
                                        : QList<GridColumn> {});
        QAbstractItemModel *model = grid.model();
        QAbstractItemModelTester tester(model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        grid.show();

        // Each step, and the rows the grid shows after it.
        struct Step {
            const char *what;
            std::function<void()> run;
            int rows;
        };
        const Step steps[] = {
            {"open", [&] { t.open(); }, 3},
            {"sort", [&] { t.sort(QStringLiteral("TITLOS ASC")); }, 3},
            {"insert", [&] { t.insert(); }, 4},
            {"type", [&] { t.setFieldValue(QStringLiteral("TITLOS"), QStringLiteral("Δέλτα")); },
             4},
            {"post", [&] { t.post(); }, 4},
            {"insert again", [&] { t.insert(); }, 5},
            {"cancel the insert", [&] { t.cancel(); }, 4},
            {"edit", [&] { t.setFieldValue(QStringLiteral("TITLOS"), QStringLiteral("Έψιλον")); },
             4},
            {"cancel the edit", [&] { t.cancel(); }, 4},
            {"move", [&] { t.first(); }, 4},
            {"delete", [&] { t.deleteCurrent(); }, 3},
            {"delete the last row",
             [&] {
                 t.last();
                 t.deleteCurrent();
             },
             2},
            {"insert and move away",
             [&] {
                 t.insert();
                 t.first();
             },
             2},
            {"close", [&] { t.close(); }, 0},
            {"read again", [&] { t.open(); }, 2},
            {"sort the other way", [&] { t.sort(QStringLiteral("TITLOS DESC")); }, 2},
        };
        for (const Step &step : steps) {
            step.run();
            QVERIFY2(!QTest::currentTestFailed(), step.what);
            QCOMPARE(model->rowCount(), step.rows);
            QCOMPARE(t.rowCount(), step.rows);
            if (t.currentRow() >= 0)
                QCOMPARE(grid.currentIndex().row(), t.currentRow());
        }
        QCOMPARE(m_practice->count(QStringLiteral("SELECT * FROM SHMEIWSEIS")), 2);
    }

    void announcesEachRowChangeBeforeMakingIt()
    {
        Table t(*m_connection);
        t.setTableName(QStringLiteral("SHMEIWSEIS"));
        t.open();
        RecordSetModel model;
        model.setRecordSet(&t);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        // The record set's own row count when the model announces a change: the change is not
        // made yet.
        QList<int> seen;
        connect(&model, &QAbstractItemModel::rowsAboutToBeInserted, this,
                [&] { seen << t.rowCount(); });
        connect(&model, &QAbstractItemModel::rowsAboutToBeRemoved, this,
                [&] { seen << t.rowCount(); });
        connect(&model, &QAbstractItemModel::modelAboutToBeReset, this,
                [&] { seen << t.rowCount(); });
        t.insert();
        t.cancel();
        t.deleteCurrent();
        t.close();
        QCOMPARE(seen, (QList<int> {3, 4, 3, 2}));
    }

    void aRecordSetThatGoesAwayLeavesAnEmptyGrid()
    {
        RecordSetModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        {
            Query q(*m_connection);
            q.setSql(QStringLiteral("SELECT TITLOS FROM SHMEIWSEIS"));
            q.open();
            model.setRecordSet(&q);
            QCOMPARE(model.rowCount(), 3);
        }
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.recordSet(), nullptr);
    }

private:
    std::unique_ptr<TempPractice> m_practice;
    std::unique_ptr<Connection> m_connection;
};

QTEST_MAIN(RecordSetModelTest)
#include "tst_recordsetmodel.moc"
