// The slots' patients: the rules apart from the windows, the link table on both engines, the
// day sheet's link actions, and the save that writes texts and links together or not at all.
#include "appointmentbook.h"
#include "appointmentlinks.h"
#include "connection.h"
#include "connectionstring.h"
#include "patientappointmentswindow.h"
#include "practicebackup.h"
#include "daysheetwindow.h"
#include "program.h"
#include "recordnavigator.h"
#include "remindercontacts.h"
#include "reminderqueue.h"
#include "reminderssettings.h"
#include "schema.h"
#include "testsupport.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <memory>

using AppointmentLinks::DayLinks;
using AppointmentLinks::Link;
using AppointmentLinks::PatientAppointment;
using AppointmentBook::typeText;
using TestSupport::RecordingMessages;
using TestSupport::TempPractice;

namespace {

const QDate kDay(2026, 3, 5);

QStringList emptySlots()
{
    return QStringList(AppointmentLinks::kSlots, QString());
}

} // namespace

TEST(AppointmentLinkRules, TextAfterLinking)
{
    struct Case {
        const char *typed;
        const char *expected;
        int width;
    } cases[] = {
        {"", "Παπαδόπουλος Γιώργος", 100},
        {"   ", "Παπαδόπουλος Γιώργος", 100},
        {"\t\x01", "Παπαδόπουλος Γιώργος", 100},
        {"Κ. Γιώργος (γόνατο)", "Κ. Γιώργος (γόνατο)", 100},
        {" πρώτη φορά ", " πρώτη φορά ", 100},
        {"", "Παπαδόπουλος Γ", 14},
    };
    for (const Case &c : cases)
        EXPECT_EQ(AppointmentLinks::textAfterLinking(QString::fromUtf8(c.typed),
                                                     QStringLiteral(" Παπαδόπουλος "),
                                                     QStringLiteral("Γιώργος"), c.width),
                  QString::fromUtf8(c.expected))
            << c.typed;
    // A patient with only a surname gets no trailing blank.
    EXPECT_EQ(AppointmentLinks::textAfterLinking({}, QStringLiteral("Βλάχου"), {}, 100),
              QStringLiteral("Βλάχου"));
}

TEST(AppointmentLinkRules, AClearedSlotLosesItsLink)
{
    QStringList texts = emptySlots();
    texts[0] = QStringLiteral("Βλάχος");
    texts[5] = QStringLiteral("  ");
    texts[27] = QStringLiteral("Νίκου");
    const DayLinks links {{0, {1, false}}, {5, {2, true}}, {9, {3, false}}, {27, {4, true}},
                          {40, {5, false}}};
    const DayLinks kept = AppointmentLinks::withoutClearedSlots(links, texts);
    EXPECT_EQ(kept, (DayLinks {{0, {1, false}}, {27, {4, true}}}));
}

TEST(AppointmentLinkRules, ANoShowOnlyOnceTheSlotsTimeHasBegun)
{
    struct Case {
        int slot;
        QDateTime now;
        bool may;
    } cases[] = {
        {4, QDateTime(kDay, QTime(9, 59, 59)), false},
        {4, QDateTime(kDay, QTime(10, 0)), true},
        {4, QDateTime(kDay, QTime(10, 45)), true},
        {4, QDateTime(kDay.addDays(-1), QTime(23, 0)), false},
        {27, QDateTime(kDay, QTime(21, 29)), false},
        {27, QDateTime(kDay.addDays(1), QTime(0, 0)), true},
        {28, QDateTime(kDay.addDays(9), QTime(0, 0)), false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(AppointmentLinks::mayMarkNoShow(kDay, c.slot, c.now), c.may)
            << c.slot << " " << c.now.toString(Qt::ISODate).toStdString();
    EXPECT_EQ(AppointmentLinks::slotTimes(0), QStringLiteral("08:00 - 08:30"));
    EXPECT_EQ(AppointmentLinks::slotEnd(kDay, 27), QDateTime(kDay.addDays(1), QTime(0, 0)).addSecs(-2 * 3600));
}

TEST(AppointmentLinkRules, UpcomingFirstSoonestFirstThenThePastLatestFirst)
{
    const QDateTime now(kDay, QTime(10, 15)); // slot 4 (10:00-10:30) is under way
    QList<PatientAppointment> list;
    for (const auto &[day, slot] : std::initializer_list<std::pair<QDate, int>> {
             {kDay.addDays(-30), 2}, {kDay, 4}, {kDay.addDays(7), 0}, {kDay, 3},
             {kDay.addDays(1), 27}, {kDay, 10}, {kDay.addDays(-1), 20}})
        list << PatientAppointment {day, slot, {}, false, false};
    AppointmentLinks::orderForPatient(list, now);
    QStringList order;
    for (const PatientAppointment &a : list)
        order << QStringLiteral("%1/%2%3").arg(a.day.day()).arg(a.slot).arg(a.upcoming ? "+" : "");
    EXPECT_EQ(order, (QStringList {"5/4+", "5/10+", "6/27+", "12/0+", "5/3", "4/20", "3/2"}));
}

class LinkTable : public ::testing::Test {
protected:
    TempPractice practice;
    Connection connection;

    void SetUp() override { connection.setUp(Program::DbConnectionString, true); }

    void addPatient(const QString &surname, const QString &firstName)
    {
        practice.exec(QStringLiteral("INSERT INTO STOIXEIA_PELATH(EPWNYMO,ONOMA) VALUES('%1','%2')")
                          .arg(surname, firstName));
    }
};

TEST_F(LinkTable, ADaysLinksAreReplacedWholeAndReadBack)
{
    const DayLinks first {{0, {1, false}}, {4, {2, true}}, {27, {3, false}}};
    {
        Transaction t(connection);
        AppointmentLinks::writeDay(connection, kDay, first);
        AppointmentLinks::writeDay(connection, kDay.addDays(1), {{4, {9, false}}});
        t.commit();
    }
    EXPECT_EQ(AppointmentLinks::readDay(connection, kDay), first);
    {
        Transaction t(connection);
        AppointmentLinks::writeDay(connection, kDay, {{4, {2, false}}});
        t.commit();
    }
    EXPECT_EQ(AppointmentLinks::readDay(connection, kDay), (DayLinks {{4, {2, false}}}));
    EXPECT_EQ(AppointmentLinks::readDay(connection, kDay.addDays(1)), (DayLinks {{4, {9, false}}}));
    EXPECT_EQ(practice.count("SELECT * FROM RANTEBOU_ASTHENH"), 2);
}

TEST_F(LinkTable, LinksWrittenInATransactionThatRollsBackAreNotKept)
{
    {
        Transaction t(connection);
        AppointmentLinks::writeDay(connection, kDay, {{4, {2, false}}});
        // No commit: gone with the transaction.
    }
    EXPECT_TRUE(AppointmentLinks::readDay(connection, kDay).empty());
}

TEST_F(LinkTable, APracticeMadeBeforeTheTableReadsNoLinksAndGetsItWithTheFirst)
{
    connection.executeNative(QStringLiteral("DROP TABLE RANTEBOU_ASTHENH"));
    EXPECT_TRUE(AppointmentLinks::readDay(connection, kDay).empty());
    EXPECT_TRUE(AppointmentLinks::readPatient(connection, 1, QDateTime(kDay, QTime(9, 0))).isEmpty());
    EXPECT_TRUE(AppointmentLinks::readPeriod(connection, kDay, kDay).isEmpty());
    {
        Transaction t(connection);
        AppointmentLinks::writeDay(connection, kDay, {});
        t.commit();
    }
    EXPECT_FALSE(Schema::hasTable(connection, QStringLiteral("RANTEBOU_ASTHENH")));
    {
        Transaction t(connection);
        AppointmentLinks::writeDay(connection, kDay, {{3, {7, true}}});
        t.commit();
    }
    EXPECT_EQ(AppointmentLinks::readDay(connection, kDay), (DayLinks {{3, {7, true}}}));
}

TEST_F(LinkTable, APatientsAppointmentsInTheSameOrderFromTheListAndFromTheSql)
{
    addPatient(QStringLiteral("Παπαδόπουλος"), QStringLiteral("Γιώργος"));
    const QDateTime now(kDay, QTime(10, 15));
    const struct {
        QDate day;
        int slot;
        const char *text;
        qint64 id;
        bool noShow;
    } rows[] = {
        {kDay.addDays(-30), 2, "Παπαδόπουλος Γ.", 1, true},
        {kDay, 4, "Παπαδόπουλος, 'αυχένας'", 1, false},
        {kDay.addDays(7), 0, "Παπαδόπουλος", 1, false},
        {kDay, 3, "Παπαδόπουλος", 1, true},
        {kDay, 5, "Άλλος", 2, false},
        {kDay.addDays(-1), 20, "Παπαδόπουλος", 1, false},
    };
    for (const auto &r : rows)
        AppointmentBook::book(r.day, Schema::slotColumns().at(r.slot), QString::fromUtf8(r.text));
    {
        Transaction t(connection);
        for (const auto &r : rows) {
            DayLinks day = AppointmentLinks::readDay(connection, r.day);
            day[r.slot] = Link {r.id, r.noShow};
            AppointmentLinks::writeDay(connection, r.day, day);
        }
        t.commit();
    }
    const QList<PatientAppointment> list = AppointmentLinks::readPatient(connection, 1, now);
    QStringList fromList;
    for (const PatientAppointment &a : list)
        fromList << QStringLiteral("%1 %2 %3 %4")
                        .arg(a.day.toString(Qt::ISODate), AppointmentLinks::slotTimes(a.slot),
                             a.text, a.noShow ? "x" : "");
    EXPECT_EQ(fromList,
              (QStringList {"2026-03-05 10:00 - 10:30 Παπαδόπουλος, 'αυχένας' ",
                            "2026-03-12 08:00 - 08:30 Παπαδόπουλος ",
                            "2026-03-05 09:30 - 10:00 Παπαδόπουλος x",
                            "2026-03-04 18:00 - 18:30 Παπαδόπουλος ",
                            "2026-02-03 09:00 - 09:30 Παπαδόπουλος Γ. x"}));

    Query q(connection);
    q.setSql(AppointmentLinks::patientSql(1, now));
    q.open();
    QStringList fromSql;
    for (int r = 0; r < q.rowCount(); ++r)
        fromSql << QStringLiteral("%1 %2 %3 %4")
                       .arg(q.value(r, 0).toString().left(10), q.text(r, 1), q.text(r, 2),
                            q.value(r, q.fieldIndex("DEN_PROSHLTHE")).toBool() ? "x" : "");
    EXPECT_EQ(fromSql, fromList);
    EXPECT_EQ(q.text(2, q.fieldIndex("SHMEIWSH")), QStringLiteral("Δεν προσήλθε"));
    EXPECT_EQ(q.value(1, q.fieldIndex("EPOMENO")).toInt(), 1);
    EXPECT_EQ(q.value(2, q.fieldIndex("EPOMENO")).toInt(), 0);

    // Without the table the report's SELECT still runs, with no row.
    q.close();
    q.setSql(AppointmentLinks::patientSql(1, now, false));
    q.open();
    EXPECT_EQ(q.rowCount(), 0);
    EXPECT_GE(q.fieldIndex("SHMEIWSH"), 0);
}

TEST_F(LinkTable, APeriodHoldsEveryBookedSlotWithItsLinkIfAny)
{
    AppointmentBook::book(kDay, "0800-0830", "Βλάχος");
    AppointmentBook::book(kDay, "0830-0900", "   ");
    AppointmentBook::book(kDay, "2130-2200", " Νίκου ");
    AppointmentBook::book(kDay.addDays(1), "1000-1030", "Άλλη μέρα");
    AppointmentBook::book(kDay.addDays(2), "1000-1030", "Έξω");
    {
        Transaction t(connection);
        AppointmentLinks::writeDay(connection, kDay, {{27, {4, true}}, {1, {5, false}}});
        t.commit();
    }
    const auto period = AppointmentLinks::readPeriod(connection, kDay, kDay.addDays(1));
    ASSERT_EQ(period.size(), 3);
    EXPECT_EQ(period[0].text, QStringLiteral("Βλάχος"));
    EXPECT_EQ(period[0].patientId, 0);
    EXPECT_EQ(period[1].slot, 27);
    EXPECT_EQ(period[1].text, QStringLiteral("Νίκου"));
    EXPECT_EQ(period[1].patientId, 4);
    EXPECT_TRUE(period[1].noShow);
    EXPECT_EQ(period[2].day, kDay.addDays(1));
}

// The day sheet's link actions and its one save.
class DaySheetLinks : public LinkTable {
protected:
    RecordingMessages messages;
    std::unique_ptr<DaySheetWindow> sheet;
    QList<std::optional<PatientContext>> answers; // what the finder answers, in turn
    int finderOpened = 0;

    void SetUp() override
    {
        LinkTable::SetUp();
        addPatient(QStringLiteral("Παπαδόπουλος"), QStringLiteral("Γιώργος"));
        addPatient(QStringLiteral("Βλάχου"), QStringLiteral("Ελένη"));
        AppointmentBook::native("INSERT INTO RANTEBOU (HMEROMHNIA) VALUES ('2026-03-05')");
        open();
    }

    void open()
    {
        sheet = std::make_unique<DaySheetWindow>();
        sheet->DayDateText = QStringLiteral("5/3/2026");
        sheet->DayQueryText = QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=#3/5/2026#");
        sheet->choosePatient = [this](QWidget *) {
            ++finderOpened;
            return answers.isEmpty() ? std::nullopt : answers.takeFirst();
        };
        sheet->now = [] { return QDateTime(kDay, QTime(12, 10)); };
        sheet->setUp();
    }

    void choose(const char *id, const char *surname, const char *firstName)
    {
        answers << PatientContext {QString::fromUtf8(id), QString::fromUtf8(firstName),
                                   QString::fromUtf8(surname), {}};
    }

    DayLinks stored() { return AppointmentLinks::readDay(connection, kDay); }
    void save() { sheet->saveButton()->click(); }
};

TEST_F(DaySheetLinks, LinkingFillsAnEmptySlotAndKeepsATypedOne)
{
    choose("1", "Παπαδόπουλος", "Γιώργος");
    sheet->linkSlot(5);
    EXPECT_EQ(sheet->DBEdit(5)->text(), QStringLiteral("Παπαδόπουλος Γιώργος"));
    EXPECT_TRUE(sheet->linkMark(5)->isVisible());
    EXPECT_EQ(sheet->linkMark(5)->toolTip(), QStringLiteral("Ασθενής: Παπαδόπουλος Γιώργος"));
    EXPECT_TRUE(sheet->saveButton()->isEnabled());
    EXPECT_TRUE(stored().empty()); // nothing written before the save

    typeText(sheet->DBEdit(6), QStringLiteral("Ελένη, ώμος"));
    sheet->DBEdit(6)->setFocus();
    choose("2", "Βλάχου", "Ελένη");
    QTest::keyClick(sheet->DBEdit(6), Qt::Key_F4);
    EXPECT_EQ(finderOpened, 2);
    EXPECT_EQ(sheet->DBEdit(6)->text(), QStringLiteral("Ελένη, ώμος"));

    save();
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.last().toStdString();
    EXPECT_EQ(stored(), (DayLinks {{4, {1, false}}, {5, {2, false}}}));
    EXPECT_EQ(AppointmentBook::slot(kDay, "1000-1030"), QStringLiteral("Παπαδόπουλος Γιώργος"));
    EXPECT_EQ(AppointmentBook::slot(kDay, "1030-1100"), QStringLiteral("Ελένη, ώμος"));
    EXPECT_FALSE(sheet->saveButton()->isEnabled());

    // A fresh sheet shows the marks of what was saved.
    open();
    EXPECT_TRUE(sheet->linkMark(5)->isVisible());
    EXPECT_EQ(sheet->linkMark(6)->toolTip(), QStringLiteral("Ασθενής: Βλάχου Ελένη"));
    EXPECT_FALSE(sheet->linkMark(7)->isVisible());
}

TEST_F(DaySheetLinks, LeavingTheFinderChangesNothing)
{
    sheet->linkSlot(5);
    EXPECT_EQ(finderOpened, 1);
    EXPECT_TRUE(sheet->DBEdit(5)->text().isEmpty());
    EXPECT_FALSE(sheet->linkMark(5)->isVisible());
    EXPECT_FALSE(sheet->saveButton()->isEnabled());
}

TEST_F(DaySheetLinks, ClearingTheTextRemovesTheLinkAndUnlinkingKeepsTheText)
{
    choose("1", "Παπαδόπουλος", "Γιώργος");
    sheet->linkSlot(5);
    choose("2", "Βλάχου", "Ελένη");
    sheet->linkSlot(6);
    save();
    ASSERT_EQ(stored().size(), 2u);

    sheet->DBEdit(5)->selectAll();
    QTest::keyClick(sheet->DBEdit(5), Qt::Key_Delete);
    EXPECT_FALSE(sheet->linkMark(5)->isVisible());
    sheet->unlinkSlot(6);
    EXPECT_TRUE(sheet->saveButton()->isEnabled()); // an unlink alone waits for the save
    save();
    EXPECT_TRUE(stored().empty());
    EXPECT_EQ(AppointmentBook::slot(kDay, "1000-1030"), QString());
    EXPECT_EQ(AppointmentBook::slot(kDay, "1030-1100"), QStringLiteral("Βλάχου Ελένη"));
}

TEST_F(DaySheetLinks, TheMenuOffersTheLinkEntriesAsTheSlotAllows)
{
    auto entries = [this](int slot) {
        std::unique_ptr<QMenu> menu(sheet->createSlotMenu(slot));
        QStringList out;
        for (const char *name : {"actLinkPatient", "actUnlinkPatient", "actNoShow"}) {
            auto *a = menu->findChild<QAction *>(QLatin1String(name));
            if (!a) {
                for (QAction *any : menu->actions())
                    if (any->objectName() == QLatin1String(name))
                        a = any;
            }
            out << (a ? QStringLiteral("%1%2%3").arg(a->text(), a->isEnabled() ? "" : " (off)",
                                                     a->isChecked() ? " (on)" : "")
                      : QStringLiteral("missing"));
        }
        return out;
    };
    EXPECT_EQ(entries(9), (QStringList {"Σύνδεση με ασθενή…", "Αποσύνδεση (off)",
                                       "Δεν προσήλθε (off)"}));
    choose("1", "Παπαδόπουλος", "Γιώργος");
    sheet->linkSlot(9); // 12:00-12:30 has begun at 12:10
    choose("1", "Παπαδόπουλος", "Γιώργος");
    sheet->linkSlot(10); // 12:30-13:00 has not
    EXPECT_EQ(entries(9), (QStringList {"Σύνδεση με ασθενή…", "Αποσύνδεση", "Δεν προσήλθε"}));
    EXPECT_EQ(entries(10), (QStringList {"Σύνδεση με ασθενή…", "Αποσύνδεση",
                                        "Δεν προσήλθε (off)"}));

    sheet->setNoShow(10, true); // refused: its time has not come
    sheet->setNoShow(9, true);
    EXPECT_EQ(entries(9), (QStringList {"Σύνδεση με ασθενή…", "Αποσύνδεση",
                                       "Δεν προσήλθε (on)"}));
    EXPECT_TRUE(sheet->linkMark(9)->toolTip().endsWith(QStringLiteral("\nΔεν προσήλθε")));
    save();
    EXPECT_EQ(stored(), (DayLinks {{8, {1, true}}, {9, {1, false}}}));
    sheet->setNoShow(9, false);
    save();
    EXPECT_EQ(stored(), (DayLinks {{8, {1, false}}, {9, {1, false}}}));
}

TEST_F(DaySheetLinks, TextsAndLinksAreSavedTogetherOrNotAtAll)
{
    // Each write of the save refused in turn: nothing of the save is kept, the sheet keeps
    // what was typed and linked, and the same press saves all once the write is accepted.
    const struct {
        const char *table;
        const char *event;
    } refusals[] = {{"RANTEBOU_ASTHENH", "INSERT"}, {"RANTEBOU", "UPDATE"}};
    int round = 0;
    for (const auto &refusal : refusals) {
        SCOPED_TRACE(refusal.table);
        const QString text = QStringLiteral("Γύρος %1").arg(++round);
        const int slot = 10 + round;
        typeText(sheet->DBEdit(slot), text);
        choose("2", "Βλάχου", "Ελένη");
        sheet->linkSlot(slot);
        TestSupport::refuseWrites(refusal.table, refusal.event, "disk full");
        save();
        ASSERT_EQ(messages.shown().size(), 1);
        EXPECT_EQ(messages.shown().first().kind, QStringLiteral("error"));
        EXPECT_EQ(AppointmentBook::slot(kDay, Schema::slotColumns().at(slot - 1)), QString());
        EXPECT_EQ(stored().count(slot - 1), 0u);
        EXPECT_EQ(sheet->DBEdit(slot)->text(), text);
        EXPECT_TRUE(sheet->linkMark(slot)->isVisible());
        EXPECT_TRUE(sheet->saveButton()->isEnabled());

        TestSupport::allowWrites(refusal.table);
        messages.clear();
        save();
        EXPECT_TRUE(messages.shown().isEmpty()) << messages.last().toStdString();
        EXPECT_EQ(AppointmentBook::slot(kDay, Schema::slotColumns().at(slot - 1)), text);
        EXPECT_EQ(stored().count(slot - 1), 1u);
    }
}

TEST_F(DaySheetLinks, ASheetWithoutItsRowOffersNoLink)
{
    AppointmentBook::native("DELETE FROM RANTEBOU");
    open();
    sheet->linkSlot(3);
    EXPECT_EQ(finderOpened, 0);
    std::unique_ptr<QMenu> menu(sheet->createSlotMenu(3));
    for (QAction *a : menu->actions()) {
        if (a->objectName() == QLatin1String("actLinkPatient")) {
            EXPECT_FALSE(a->isEnabled());
        }
    }
}

TEST_F(LinkTable, TheLinksSurviveABackupAndItsChecks)
{
    AppointmentBook::book(kDay, "0800-0830", "Βλάχος");
    {
        Transaction t(connection);
        AppointmentLinks::writeDay(connection, kDay, {{0, {1, true}}, {27, {2, false}}});
        t.commit();
    }
    QTemporaryDir usb;
    const PracticeBackup::Outcome out
        = PracticeBackup::backUp(practice.dir(), usb.path(), QDateTime(kDay, QTime(20, 5)));
    EXPECT_TRUE(out.tables.contains("RANTEBOU_ASTHENH: 2 rows")) << out.tables.join("; ").toStdString();
    Connection copy;
    copy.openPracticeFile(out.path, ConnectionString::kDatabasePassword, true);
    EXPECT_EQ(AppointmentLinks::readDay(copy, kDay), (DayLinks {{0, {1, true}}, {27, {2, false}}}));
}

// The day sheet's save brings the reminders in line with the links at once; what was sent is
// marked on the slot and listed with the patient's appointments.
TEST_F(LinkTable, TheSheetsSaveQueuesAndDropsRemindersAndMarksTheRemindedSlot)
{
    RecordingMessages messages;
    addPatient(QStringLiteral("Παπαδόπουλος"), QStringLiteral("Γιώργος"));
    const QDate day = QDate::currentDate().addDays(3);
    Reminders::saveContact(connection, {1, QStringLiteral("g@example.gr"), QString(), true,
                                        QDate::currentDate()});
    Reminders::Settings settings;
    settings.enabled = true;
    settings.mailOn = true;
    settings.smtpHost = QStringLiteral("127.0.0.1");
    Reminders::save(connection, settings);
    AppointmentBook::native(
        QStringLiteral("INSERT INTO RANTEBOU (HMEROMHNIA) VALUES ('%1')").arg(day.toString(Qt::ISODate)));
    const auto openSheet = [&] {
        auto sheet = std::make_unique<DaySheetWindow>();
        sheet->DayDateText = day.toString(QStringLiteral("d/M/yyyy"));
        sheet->DayQueryText = QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=#%1#")
                                  .arg(day.toString(QStringLiteral("M/d/yyyy")));
        sheet->choosePatient = [](QWidget *) {
            return std::optional<PatientContext>(
                PatientContext {QStringLiteral("1"), QStringLiteral("Γιώργος"),
                                QStringLiteral("Παπαδόπουλος"), {}});
        };
        sheet->setUp();
        return sheet;
    };

    auto sheet = openSheet();
    sheet->linkSlot(3);
    sheet->saveButton()->click();
    ASSERT_TRUE(messages.shown().isEmpty()) << messages.last().toStdString();
    const QList<Reminders::Reminder> queued = Reminders::waiting(connection);
    ASSERT_EQ(queued.size(), 1);
    EXPECT_EQ(queued.first().day, day);
    EXPECT_EQ(queued.first().slot, 2);
    EXPECT_EQ(queued.first().address, QStringLiteral("g@example.gr"));
    EXPECT_FALSE(sheet->linkMark(3)->toolTip().contains(QStringLiteral("υπενθύμιση")));

    // Sent: the reopened sheet marks the slot, and the patient's appointments list it.
    Reminders::markSent(connection, queued.first().id, QDateTime::currentDateTimeUtc());
    sheet = openSheet();
    EXPECT_TRUE(sheet->linkMark(3)->toolTip().contains(QStringLiteral("Στάλθηκε υπενθύμιση")));
    PatientAppointmentsWindow appointments;
    appointments.PatientId = QStringLiteral("1");
    appointments.FormShow();
    ASSERT_EQ(appointments.reminders()->topLevelItemCount(), 1);
    EXPECT_EQ(appointments.reminders()->topLevelItem(0)->text(2), QStringLiteral("g@example.gr"));
    EXPECT_EQ(appointments.reminders()->topLevelItem(0)->text(3),
              Reminders::stateText(Reminders::State::Sent));

    // Unlinked before a second one was due: nothing waits any more for that slot.
    sheet->unlinkSlot(3);
    sheet->saveButton()->click();
    EXPECT_TRUE(Reminders::waiting(connection).isEmpty());
    EXPECT_FALSE(sheet->linkMark(3)->isVisible());
}
