// The window kit every window is built on: conventions, grid, bound fields, record bar.
#include "connection.h"
#include "fieldbinder.h"
#include "program.h"
#include "recordgrid.h"
#include "recordnavigator.h"
#include "recordset.h"
#include "testsupport.h"
#include "window.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest>

using namespace TestSupport;

class KitTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_practice = std::make_unique<TempPractice>();
        m_messages = std::make_unique<RecordingMessages>();
        for (const char *t : {"Γάμμα", "Άλφα", "Βήτα"})
            m_practice->exec(
                QStringLiteral(
                    "INSERT INTO SHMEIWSEIS(TITLOS,PERIGRAFH) VALUES('%1','κείμενο\nδεύτερη')")
                    .arg(QString::fromUtf8(t)));
        m_connection = std::make_unique<Connection>();
        m_connection->setUp(Program::DbConnectionString, true);
    }
    void cleanup()
    {
        m_connection.reset();
        m_messages.reset();
        m_practice.reset();
    }

    void windowConventions()
    {
        Window w;
        w.setUpWindow(QStringLiteral("Δοκιμή"), 300, 200);
        QCOMPARE(w.size(), QSize(300, 200));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QVERIFY(w.isModal());
        QVERIFY(w.windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));

        auto *exit = new QPushButton(QStringLiteral("Έ&ξοδος"), &w);
        int pressed = 0;
        connect(exit, &QPushButton::clicked, &w, [&] {
            ++pressed;
            w.close();
        });
        w.setCancelButton(exit);
        w.show();
        QTest::keyClick(&w, Qt::Key_Escape);
        QCOMPARE(pressed, 1);
        QVERIFY(!w.isVisible());
        // The exit button clicked by the mouse closes the window once.
        w.show();
        exit->click();
        QCOMPARE(pressed, 2);
        QVERIFY(!w.isVisible());
    }

    void windowWithoutIconsIgnoresEscape()
    {
        Window w;
        w.setUpWindow(QStringLiteral("Δοκιμή"), 200, 100, Window::Border::NoIcons);
        QVERIFY(!(w.windowFlags() & Qt::WindowCloseButtonHint));
        w.show();
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(w.isVisible());
        w.hide();
    }

    // The kit's exit button closes its window as cancelled, shown or not, and answers Esc.
    void exitButtonClosesAsCancelled_data()
    {
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("byEscape");
        QTest::newRow("shown, clicked") << true << false;
        QTest::newRow("shown, Esc") << true << true;
        QTest::newRow("hidden, clicked") << false << false;
    }
    void exitButtonClosesAsCancelled()
    {
        QFETCH(bool, shown);
        QFETCH(bool, byEscape);
        Window w;
        w.setUpWindow(QStringLiteral("Δοκιμή"), 200, 100, Window::Border::NoIcons);
        QPushButton *exit = w.addExitButton(QStringLiteral("Button9"), QStringLiteral("Έξοδος"));
        QCOMPARE(exit->objectName(), QStringLiteral("Button9"));
        QCOMPARE(exit->text(), QStringLiteral("Έξοδος"));
        QCOMPARE(w.addExitButton()->text(), QStringLiteral("Έ&ξοδος"));
        QSignalSpy finished(&w, &QDialog::finished);
        if (shown)
            w.show();
        if (byEscape)
            QTest::keyClick(&w, Qt::Key_Escape);
        else
            exit->click();
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.first().first().toInt(), int(QDialog::Rejected));
        QVERIFY(!w.isVisible());
    }

    // Turning the wheel over a drop-down changes its choice only while it has the focus; one
    // that took the focus from the wheel no longer does, one that is only clicked into keeps
    // that.
    void dropDownsTurnWithTheWheelOnlyWithFocus()
    {
        Window w;
        w.setUpWindow(QStringLiteral("Δοκιμή"), 300, 200);
        auto *sex = new QComboBox(&w);
        sex->addItems({QStringLiteral("ΑΡΡΕΝ"), QStringLiteral("ΘΗΛΥ")});
        auto *month = new QComboBox(&w);
        month->addItems({QStringLiteral("Ιανουάριος"), QStringLiteral("Φεβρουάριος")});
        month->setFocusPolicy(Qt::ClickFocus);
        month->move(0, 60);
        auto *edit = new QLineEdit(&w);
        edit->move(0, 120);
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(sex->focusPolicy(), Qt::StrongFocus);
        QCOMPARE(month->focusPolicy(), Qt::ClickFocus);

        auto turn = [](QComboBox *box) {
            const QPointF at = box->rect().center();
            QWheelEvent wheel(at, box->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(box, &wheel);
        };
        for (QComboBox *box : {sex, month}) {
            edit->setFocus();
            QTRY_VERIFY(edit->hasFocus());
            turn(box);
            QCOMPARE(box->currentIndex(), 0);
            QVERIFY(!box->hasFocus());
            box->setFocus();
            QTRY_VERIFY(box->hasFocus());
            turn(box);
            QCOMPARE(box->currentIndex(), 1);
        }
        w.hide();
    }

    void modalSeamIsReplaceable()
    {
        Window w;
        w.setUpWindow(QStringLiteral("Παράθυρο"), 100, 100);
        ModalDriver driver([](QDialog *) { return 42; });
        QCOMPARE(w.showModal(), 42);
        QCOMPARE(driver.opened(), QStringList {QStringLiteral("Παράθυρο")});
    }

    void gridFollowsTheRecordSet()
    {
        Table t(*m_connection);
        t.setTableName(QStringLiteral("SHMEIWSEIS"));
        t.open();
        t.sort(QStringLiteral("TITLOS ASC"));
        RecordGrid grid;
        grid.setRecordSet(&t,
                          {{QStringLiteral("TITLOS"), QStringLiteral("Τίτλος"), 150,
                            Qt::AlignCenter}});
        QAbstractItemModel *m = grid.model();
        QCOMPARE(m->rowCount(), 3);
        QCOMPARE(m->columnCount(), 1);
        QCOMPARE(m->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Τίτλος"));
        QCOMPARE(m->index(0, 0).data().toString(), QStringLiteral("Άλφα"));
        QCOMPARE(m->index(0, 0).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
        QCOMPARE(grid.columnWidth(0), 150);
        QVERIFY(grid.horizontalHeader()->font().bold());
        QCOMPARE(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(grid.selectionBehavior(), QAbstractItemView::SelectRows);

        grid.selectRow(2);
        QCOMPARE(t.currentRow(), 2);
        t.first();
        QCOMPARE(grid.currentIndex().row(), 0);

        QSignalSpy deleteAsked(&grid, &RecordGrid::deleteRequested);
        QTest::keyClick(&grid, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(deleteAsked.count(), 1);

        t.deleteCurrent();
        QCOMPARE(m->rowCount(), 2);
        t.insert();
        QCOMPARE(m->rowCount(), 3);
        t.cancel();
        QCOMPARE(m->rowCount(), 2);
    }

    void boundFieldsShowAndEditTheCurrentRow()
    {
        Table t(*m_connection);
        t.setTableName(QStringLiteral("SHMEIWSEIS"));
        t.open();
        t.sort(QStringLiteral("TITLOS ASC"));
        t.first();
        QWidget form;
        auto *title = new QLineEdit(&form);
        auto *text = new QPlainTextEdit(&form);
        FieldBinder binder(&form);
        binder.bind(title, QStringLiteral("TITLOS"));
        binder.bind(text, QStringLiteral("PERIGRAFH"));
        binder.setRecordSet(&t);
        QCOMPARE(title->text(), QStringLiteral("Άλφα"));
        QCOMPARE(text->toPlainText(), QStringLiteral("κείμενο\nδεύτερη"));
        QCOMPARE(title->maxLength(), 100);
        t.next();
        QCOMPARE(title->text(), QStringLiteral("Βήτα"));

        QTest::keyClicks(title, QStringLiteral("X"));
        QCOMPARE(t.state(), RecordSet::State::Edit);
        t.post();
        QCOMPARE(m_practice->scalar(QStringLiteral("SELECT TITLOS FROM SHMEIWSEIS WHERE ID=3")),
                 QStringLiteral("ΒήταX"));
    }

    void comboKeepsAStoredTextThatIsNotAnItem()
    {
        m_practice->exec(
            QStringLiteral("INSERT INTO STOIXEIA_PELATH(EPWNYMO,[1]) VALUES('Α','ΙΣΩΣ')"));
        Query q(*m_connection);
        q.setSql(QStringLiteral("SELECT * FROM STOIXEIA_PELATH WHERE ID=1"));
        q.open();
        QComboBox combo;
        combo.addItems({QStringLiteral("ΝΑΙ"), QStringLiteral("ΟΧΙ")});
        FieldBinder binder;
        binder.bind(&combo, QStringLiteral("1"));
        binder.setRecordSet(&q);
        QCOMPARE(combo.currentIndex(), -1);
        QVERIFY(combo.currentText().isEmpty());
        QCOMPARE(q.state(), RecordSet::State::Browse);
        emit combo.activated(1);
        q.post();
        QCOMPARE(m_practice->scalar(QStringLiteral("SELECT [1] FROM STOIXEIA_PELATH")),
                 QStringLiteral("ΟΧΙ"));
    }

    void navigatorAsksBeforeDeletingAndFollowsTheState()
    {
        Table t(*m_connection);
        t.setTableName(QStringLiteral("SHMEIWSEIS"));
        t.open();
        RecordNavigator nav(RecordNavigator::Moves | RecordNavigator::Insert
                            | RecordNavigator::Delete | RecordNavigator::Post);
        nav.setRecordSet(&t);
        QVERIFY(!nav.button(RecordNavigator::First)->isEnabled());
        QVERIFY(nav.button(RecordNavigator::Next)->isEnabled());
        QVERIFY(!nav.button(RecordNavigator::Post)->isEnabled());
        QCOMPARE(nav.button(RecordNavigator::Delete)->toolTip(), QStringLiteral("Διαγραφή εγγραφής"));
        QVERIFY(!nav.button(RecordNavigator::Edit));

        m_messages->queueAnswer(false);
        nav.button(RecordNavigator::Delete)->click();
        QCOMPARE(m_messages->shown().last().kind, QStringLiteral("okcancel"));
        QCOMPARE(m_messages->last(), QStringLiteral("Delete record?"));
        QCOMPARE(m_practice->count(QStringLiteral("SELECT * FROM SHMEIWSEIS")), 3);
        nav.button(RecordNavigator::Delete)->click();
        QCOMPARE(m_practice->count(QStringLiteral("SELECT * FROM SHMEIWSEIS")), 2);

        nav.button(RecordNavigator::Insert)->click();
        QCOMPARE(t.state(), RecordSet::State::Insert);
        QVERIFY(nav.button(RecordNavigator::Post)->isEnabled());
        t.setFieldValue(QStringLiteral("TITLOS"), QString(101, QChar('x')));
        nav.button(RecordNavigator::Post)->click();
        // The refusal goes to the error dialog and the row stays in insert.
        QCOMPARE(m_messages->shown().last().kind, QStringLiteral("error"));
        QCOMPARE(t.state(), RecordSet::State::Insert);
    }

private:
    std::unique_ptr<TempPractice> m_practice;
    std::unique_ptr<RecordingMessages> m_messages;
    std::unique_ptr<Connection> m_connection;
};

QTEST_MAIN(KitTest)
#include "tst_kit.moc"
