#include "mainwindow.h"

#include "aboutwindow.h"
#include "accesswindows.h"
#include "analogclock.h"
#include "appinfo.h"
#include "backupcommands.h"
#include "backuptexts.h"
#include "connection.h"
#include "connectionstring.h"
#include "olderlayouts.h"
#include "datawindow.h"
#include "launcher.h"
#include "locksettingwindow.h"
#include "locktexts.h"
#include "practicesettings.h"
#include "messageservice.h"
#include "pictures.h"
#include "program.h"
#include "recordset.h"
#include "schema.h"
#include "screenlock.h"
#include "splashwindow.h"
#include "sqltext.h"
#include "todayreminderwindow.h"
#include "window.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace {

struct Entry {
    const char *caption; // menu entry
    const char *panel;   // command panel button, or nullptr
    const char *name;    // objectName of the action
    MenuCommand command;
};

// The entries that open other areas' windows, in menu order; separators are marked by a
// null caption.
const Entry kEntries[] = {
    {"Εύρ&εση ασθενούς", "Εύρεση ασθενούς", "actFindPatient", MenuCommand::FindPatient},
    {"Καταχώρηση νέου ασθενού&ς", "Καταχώρηση νέου ασθενούς", "actNewPatient",
     MenuCommand::NewPatient},
    {nullptr, nullptr, nullptr, MenuCommand::FindPatient},
    {"Εκτύπωση ιατρικής συντα&γής", nullptr, "actPrescription", MenuCommand::PrintPrescription},
    {"Εκτύπω&ση πιστοποιητικού ασθενείας", nullptr, "actCertificate",
     MenuCommand::PrintCertificate},
    {nullptr, nullptr, nullptr, MenuCommand::FindPatient},
};

const char *kPanelOrder[] = {
    "actFindPatient",      "actNewPatient",      "actIssuedReceipts", "actExpensesEdit",
    "actExpensesByPeriod", "actExpensesByMonth", "actReminders",      "actNotebook",
    "actPhoneNumbers",     "actDoctors",         "actCalculator",     "actCalendarTools",
    "actAppointments",
};

// One start-up read: set up and open a connection, run the query, hand it over, close it all.
void readOnce(const QString &sql, const std::function<void(Query &)> &take)
{
    Connection connection;
    ProgramConnection::open(connection);
    Query query(connection);
    query.setSql(sql);
    query.open();
    take(query);
    query.close();
    query.clearSql();
    connection.close();
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Orvanta Created by Daskel"));
    resize(kClientWidth, kClientHeight);
    Kit::paintSkyBlue(this);
    buildMenu();
    buildBody();
    m_timer = new QTimer(this);
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &MainWindow::Timer1Timer);
    m_timer->start();
    FormCreate();
}

MainWindow::~MainWindow() = default;

QAction *MainWindow::addEntry(QMenu *menu, const QString &caption, const QString &objectName)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(objectName);
    m_actions.insert(objectName, a);
    return a;
}

QAction *MainWindow::action(const QString &objectName) const
{
    return m_actions.value(objectName);
}

void MainWindow::buildMenu()
{
    QMenu *options = menuBar()->addMenu(QStringLiteral("Ε&πιλογές"));
    options->setObjectName(QStringLiteral("menuOptions"));
    auto command = [&](QMenu *menu, const char *caption, const char *name, MenuCommand c) {
        QAction *a = addEntry(menu, QString::fromUtf8(caption), QLatin1String(name));
        a->setEnabled(false);
        m_commandControls[c].append(a);
        connect(a, &QAction::triggered, this, [this, c] { run(c); });
        return a;
    };
    for (const Entry &e : kEntries) {
        if (!e.caption)
            options->addSeparator();
        else
            command(options, e.caption, e.name, e.command);
    }
    QMenu *expenses = options->addMenu(QStringLiteral("Λειτουργικά έξ&οδα"));
    expenses->setObjectName(QStringLiteral("menuExpenses"));
    command(expenses, "Επε&ξεργασία", "actExpensesEdit", MenuCommand::ExpensesEdit);
    command(expenses, "Αναλυτική έ&ρευνα", "actExpensesByPeriod", MenuCommand::ExpensesByPeriod);
    command(expenses, "Κατά &μήνα", "actExpensesByMonth", MenuCommand::ExpensesByMonth);
    command(options, "Εισπρά&ξεις σε διάστημα δυο ημερομηνιών", "actPeriodIncome",
            MenuCommand::PeriodIncome);
    command(options, "Στατιστι&κά", "actStatistics", MenuCommand::Statistics);
    command(options, "Αποδείξεις που εκ&δόθηκαν", "actIssuedReceipts", MenuCommand::IssuedReceipts);
    command(options, "Αποστολή των αποδείξεων σε αναμονή στην ΑΑΔΕ", "actSendWaitingReceipts",
            MenuCommand::SendWaitingReceipts);
    options->addSeparator();
    command(options, "Βιβλίο ση&μειώσεων", "actNotebook", MenuCommand::Notebook);
    // The first letter of this entry is the Latin capital Y.
    command(options, "Yπενθ&υμίσεις", "actReminders", MenuCommand::Reminders);
    command(options, "Χρήσιμα &τηλέφωνα", "actPhoneNumbers", MenuCommand::PhoneNumbers);
    command(options, "Ιατροί διαφόρων ειδικοτήτ&ων", "actDoctors", MenuCommand::Doctors);
    options->addSeparator();
    command(options, "Ημε&ρολογιακά", "actCalendarTools", MenuCommand::CalendarTools);
    QAction *calc
        = addEntry(options, QStringLiteral("Αριθμομη&χανή"), QStringLiteral("actCalculator"));
    connect(calc, &QAction::triggered, this, [] { Launcher::calculator(); });
    command(options, "Ραντεβού", "actAppointments", MenuCommand::Appointments);
    command(options, "Εξαγωγή ραντεβού (iCalendar)…", "actAppointmentsCalendar",
            MenuCommand::AppointmentsCalendar);
    options->addSeparator();
    QAction *backup = addEntry(options, QStringLiteral("Backup"), QStringLiteral("actBackup"));
    connect(backup, &QAction::triggered, this, &MainWindow::BackupClick);
    QAction *backupNow
        = addEntry(options, BackupTexts::kBackupNowEntry, QStringLiteral("actBackupNow"));
    connect(backupNow, &QAction::triggered, this, &MainWindow::BackupNowClick);
    QAction *restore = addEntry(options, BackupTexts::kRestoreEntry, QStringLiteral("actRestore"));
    connect(restore, &QAction::triggered, this, &MainWindow::RestoreClick);
    options->addSeparator();
    QMenu *settings = options->addMenu(QStringLiteral("Ρυ&θμίσεις"));
    settings->setObjectName(QStringLiteral("menuSettings"));
    command(settings, "Συντελεστής Φ.Π.Α", "actVatRate", MenuCommand::VatRate);
    command(settings, "Καθορισμός αρίθμησης των αποδείξεων", "actReceiptNumbering",
            MenuCommand::ReceiptNumbering);
    command(settings, "Διαμόρφωση των στοιχείων που θα εμφανίζονται στις αποδείξεις",
            "actPracticeDetails", MenuCommand::PracticeDetails);
    command(settings, "Ηλεκτρονικά βιβλία (myDATA)…", "actEbooksSettings",
            MenuCommand::EbooksSettings);
    command(settings, "Υπενθυμίσεις ραντεβού…", "actRemindersSettings",
            MenuCommand::RemindersSettings);
    QAction *backupSettings = addEntry(settings, BackupTexts::kSettingsEntry,
                                       QStringLiteral("actBackupSettings"));
    connect(backupSettings, &QAction::triggered, this, [this] { BackupCommands::settings(this); });
    QAction *lockSetting
        = addEntry(settings, LockTexts::kSettingEntry, QStringLiteral("actLockSetting"));
    connect(lockSetting, &QAction::triggered, this, &MainWindow::LockSettingClick);
    QAction *password = addEntry(options, QStringLiteral("Αλλαγή του κωδικού πρόσβασης"),
                                 QStringLiteral("actChangePassword"));
    connect(password, &QAction::triggered, this, &MainWindow::ChangePasswordClick);
    QAction *lock = addEntry(options, LockTexts::kLockEntry, QStringLiteral("actLockNow"));
    lock->setShortcut(QKeySequence(LockTexts::kLockShortcut));
    connect(lock, &QAction::triggered, this, &MainWindow::LockNowClick);

    QAction *about = menuBar()->addAction(QStringLiteral("A&bout Orvanta"));
    about->setObjectName(QStringLiteral("actAbout"));
    m_actions.insert(about->objectName(), about);
    connect(about, &QAction::triggered, this, &MainWindow::AboutClick);
    QAction *exit = menuBar()->addAction(QStringLiteral("Έ&ξοδος"));
    exit->setObjectName(QStringLiteral("actExit"));
    m_actions.insert(exit->objectName(), exit);
    connect(exit, &QAction::triggered, this, &QWidget::close);
}

void MainWindow::buildBody()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("background"));
    Kit::paintSkyBlue(central);
    setCentralWidget(central);
    auto *outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto *upper = new QHBoxLayout;
    upper->setContentsMargins(0, 0, 0, 0);
    auto *logo = new QLabel(central);
    logo->setObjectName(QStringLiteral("logo"));
    logo->setPixmap(Pictures::logo());
    logo->setAlignment(Qt::AlignCenter);
    upper->addWidget(logo, 1);

    auto *right = new QWidget(central);
    right->setObjectName(QStringLiteral("rightStrip"));
    right->setFixedWidth(207);
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(2, 2, 2, 2);
    rightLayout->setSpacing(2);
    m_toggle = new QPushButton(right);
    m_toggle->setObjectName(QStringLiteral("panelToggle"));
    m_toggle->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    m_toggle->setAccessibleName(QStringLiteral("Κουμπιά εντολών"));
    m_toggle->setFocusPolicy(Qt::ClickFocus);
    rightLayout->addWidget(m_toggle);
    connect(m_toggle, &QPushButton::clicked, this, &MainWindow::ToggleClick);

    m_panel = new QWidget(right);
    m_panel->setObjectName(QStringLiteral("commandPanel"));
    auto *panelLayout = new QVBoxLayout(m_panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->setSpacing(1);
    const QStringList captions = {
        QStringLiteral("Εύρεση ασθενούς"),
        QStringLiteral("Καταχώρηση νέου ασθενούς"),
        QStringLiteral("Αποδείξεις που εκδόθηκαν"),
        QStringLiteral("Λειτουργικά έξοδα (Επεξεργασία)"),
        QStringLiteral("Λειτουργικά έξοδα (Αναλυτική έρευνα)"),
        QStringLiteral("Λειτουργικά έξοδα (Κατά μήνα)"),
        QStringLiteral("Υπενθυμίσεις"),
        QStringLiteral("Βιβλίο σημειώσεων"),
        QStringLiteral("Χρήσιμα τηλέφωνα"),
        QStringLiteral("Ιατροί διαφόρων ειδικοτήτων"),
        QStringLiteral("Αριθμομηχανή"),
        QStringLiteral("Ημερολογιακά"),
        QStringLiteral("Ραντεβού"),
    };
    // The longest captions must fit the strip's width on one line.
    QFont panelFont = font();
    panelFont.setPointSizeF(7);
    for (int i = 0; i < captions.size(); ++i) {
        auto *b = new QPushButton(captions[i], m_panel);
        const QString actionName = QLatin1String(kPanelOrder[i]);
        b->setObjectName(QStringLiteral("btn") + actionName.mid(3));
        b->setFocusPolicy(Qt::ClickFocus);
        b->setFont(panelFont);
        b->setStyleSheet(QStringLiteral("padding: 0px;"));
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        panelLayout->addWidget(b, 1);
        QAction *a = m_actions.value(actionName);
        // Each button does exactly what its menu entry does, and is enabled with it.
        connect(b, &QPushButton::clicked, a, &QAction::trigger);
        b->setEnabled(a->isEnabled());
        connect(a, &QAction::changed, b, [a, b] { b->setEnabled(a->isEnabled()); });
    }
    m_panel->setVisible(false);
    rightLayout->addWidget(m_panel, 1);
    rightLayout->addStretch(1);
    upper->addWidget(right);
    outer->addLayout(upper, 1);

    auto *bottom = new QWidget(central);
    bottom->setObjectName(QStringLiteral("bottomStrip"));
    bottom->setFixedHeight(159);
    auto *bottomLayout = new QHBoxLayout(bottom);
    bottomLayout->setContentsMargins(2, 2, 2, 2);
    m_calendar = new QCalendarWidget(bottom);
    m_calendar->setObjectName(QStringLiteral("monthCalendar"));
    Kit::nameCalendarArrows(m_calendar);
    m_calendar->setFixedWidth(200);
    m_calendar->setLocale(QLocale(QLocale::Greek, QLocale::Greece));
    m_calendar->setFirstDayOfWeek(Qt::Monday);
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::ISOWeekNumbers);
    m_calendar->setHorizontalHeaderFormat(QCalendarWidget::SingleLetterDayNames);
    m_calendar->setGridVisible(false);
    QFont small = m_calendar->font();
    small.setPointSizeF(std::max(6.0, small.pointSizeF() - 1));
    m_calendar->setFont(small);
    bottomLayout->addWidget(m_calendar);
    bottomLayout->addStretch(1);
    auto *clock = new AnalogClock(bottom);
    clock->setObjectName(QStringLiteral("analogClock"));
    clock->setFixedSize(155, 155);
    bottomLayout->addWidget(clock);
    outer->addWidget(bottom);

    m_clockPanel = new QLabel(this);
    m_clockPanel->setObjectName(QStringLiteral("clockPanel"));
    m_clockPanel->setFixedWidth(190);
    m_versionPanel = new QLabel(this);
    m_versionPanel->setObjectName(QStringLiteral("versionPanel"));
    m_versionPanel->setFixedWidth(520);
    statusBar()->addWidget(m_clockPanel);
    statusBar()->addWidget(m_versionPanel);
    statusBar()->setSizeGripEnabled(false);

    // Double-clicking or right-clicking the background opens the maker's web page.
    for (QWidget *w : {central, static_cast<QWidget *>(logo), right, bottom,
                       static_cast<QWidget *>(statusBar())})
        w->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick || event->type() == QEvent::ContextMenu) {
        Launcher::openAddress(AppInfo::makerWebsite());
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

QString MainWindow::noticeText()
{
    const QString gap = QStringLiteral("\r\r");
    return QStringLiteral("Important Information") + gap + QStringLiteral("Please read carefully")
        + gap
        + QStringLiteral(
               "1) If you see rubbish (unreadable characters) instead of Greek characters you "
               "must reconfigure your Windows operating system to support Greek system "
               "characters.")
        + gap
        + QStringLiteral("2) The recommended screen resolution is 1024 x 768 or higher. Lower "
                         "resolution may cause application forms seem incorrect.");
}

QString MainWindow::backupText()
{
    return QStringLiteral(
               "Για να κάνετε backup τη βάση δεδομένων του λογισμικού πρέπει να αντιγράψετε "
               "(να κάνετε copy) σε ")
        + QStringLiteral("ένα USB Flash Drive ή σε ένα CD ή κάπου αλλού, το αρχείο data.mdb που "
                         "βρίσκεται στο φάκελο ")
        + QStringLiteral("(directory) όπου είναι εγκατεστημένο το λογισμικό. Όταν θα κάνετε την "
                         "αντιγραφή να προσέξετε ώστε ")
        + QStringLiteral("το πρόγραμμα να μην είναι φορτωμένο, δηλαδή να μην τρέχει. ")
        + QStringLiteral(
               "Με αυτό τον τρόπο μπορείτε να μεταφέρετε τα δεδομένα σας, μέσω του αρχείου "
               "data.mdb, και σε άλλους υπολογιστές και να εργαστείτε με αυτά εκεί.");
}

QString MainWindow::dateTimeText(const QDateTime &when)
{
    const QString date = SqlText::dateText(when.date());
    const QTime t = when.time();
    if (t.hour() == 0 && t.minute() == 0 && t.second() == 0)
        return date;
    return date + QLatin1Char(' ') + t.toString(QStringLiteral("H:mm:ss"));
}

void MainWindow::FormCreate()
{
    Program::ReceiptNumberingDefined = false;
    m_startDate = QDate::currentDate();
    m_calendar->setSelectedDate(m_startDate);
    m_versionPanel->setText(AppInfo::rightsNotice() + QStringLiteral("  ") + AppInfo::maker()
                            + QStringLiteral("  ") + AppInfo::versionText());
    Program::AppDir = QDir::currentPath();

    {
        SplashWindow splash(this);
        ModalRunner::exec(&splash);
    }
    Messages::information(this, noticeText());
    Program::DbConnectionString = ConnectionString::build(Program::AppDir);
    Program::LoginGranted = false;

    // Without the stored password there is nothing to log in to: the error is shown and the
    // program ends.
    const bool read = Kit::guarded(this, [&] {
        readOnce(QStringLiteral("SELECT * FROM SECURITY"), [&](Query &query) {
            m_storedPassword = query.rowCount() > 0 ? query.text(0, 0).trimmed() : QString();
        });
    });
    if (!read)
        return;

    if (m_storedPassword == QLatin1String(Schema::kFactoryPassword)) {
        FirstPasswordWindow first(this);
        first.showModal();
        // A file that would not store the first password cannot be logged in to: the failure
        // has been shown and the program ends.
        if (!first.stored())
            return;
    }
    {
        LoginWindow login(this);
        login.showModal();
    }
    if (!Program::LoginGranted)
        return;
    // Layouts the person changed and the launcher kept, older than the program's: said once.
    if (const QStringList older = OlderLayouts::take(Program::AppDir); !older.isEmpty())
        Messages::information(this, OlderLayouts::text(older));
    TodaysReminderCheck();
    setWindowState(windowState() | Qt::WindowMaximized);
    ReceiptNumberingCheck();
    m_granted = true;
    startScreenLock();
}

void MainWindow::startScreenLock()
{
    m_lock = new ScreenLock(this);
    m_lock->setLockAction(m_actions.value(QStringLiteral("actLockNow")));
    // A setting that cannot be read leaves the default: the practice stays protected.
    int minutes = PracticeSettings::kDefaultLockMinutes;
    Kit::guarded(this, [&] {
        Connection connection;
        ProgramConnection::open(connection);
        minutes = PracticeSettings::lockMinutes(connection);
        connection.close();
    });
    m_lock->setIdleMinutes(minutes);
}

void MainWindow::TodaysReminderCheck()
{
    const QString where
        = QStringLiteral(
              " WHERE DAY(HMEROMHNIA)=%1 AND MONTH(HMEROMHNIA)=%2 AND YEAR(HMEROMHNIA)=%3")
              .arg(m_startDate.day())
              .arg(m_startDate.month())
              .arg(m_startDate.year());
    int count = 0;
    const bool ok = Kit::guarded(this, [&] {
        readOnce(QStringLiteral("SELECT HMEROMHNIA from YPENTHIMISEIS") + where,
                 [&](Query &query) { count = query.rowCount(); });
    });
    // Every reminder dated today is shown, also when there are several.
    if (!ok || count < 1)
        return;
    TodayReminderWindow reminder(this);
    reminder.query().setSql(QStringLiteral("SELECT * from YPENTHIMISEIS") + where);
    reminder.showModal();
}

void MainWindow::ReceiptNumberingCheck()
{
    Program::ReceiptNumberingDefined = false;
    int count = 0;
    const bool ok = Kit::guarded(this, [&] {
        readOnce(QStringLiteral("SELECT * from LAST_APODEIKSH"),
                 [&](Query &query) { count = query.rowCount(); });
    });
    if (ok && count != 0) {
        m_actions.value(QStringLiteral("actReceiptNumbering"))->setVisible(false);
        Program::ReceiptNumberingDefined = true;
    }
}

void MainWindow::setCommands(const CommandTable &commands)
{
    m_commands = commands;
    for (auto it = m_commandControls.cbegin(); it != m_commandControls.cend(); ++it) {
        for (QObject *control : it.value()) {
            if (auto *a = qobject_cast<QAction *>(control))
                a->setEnabled(m_commands.contains(it.key()));
        }
    }
}

void MainWindow::run(MenuCommand command)
{
    const auto it = m_commands.constFind(command);
    if (it == m_commands.constEnd())
        return;
    it.value()(this);
    if (command == MenuCommand::ReceiptNumbering)
        ReceiptNumberingCheck();
}

void MainWindow::Timer1Timer()
{
    m_clockPanel->setText(dateTimeText(QDateTime::currentDateTime()));
}

void MainWindow::BackupClick()
{
    Messages::information(this, backupText());
}

void MainWindow::BackupNowClick()
{
    BackupCommands::backupNow(this);
}

void MainWindow::RestoreClick()
{
    if (!BackupCommands::restore(this))
        return;
    // The practice file was replaced under the open windows: the program ends without asking,
    // and takes no automatic copy of the file it has just put back.
    m_restored = true;
    m_ended = true;
    close();
    QApplication::quit();
}

void MainWindow::ToggleClick()
{
    m_panel->setVisible(m_panel->isHidden());
    auto *layout = static_cast<QVBoxLayout *>(m_panel->parentWidget()->layout());
    // The panel fills the strip when shown; the toggle stays at the top when it is hidden.
    layout->setStretch(layout->count() - 1, m_panel->isHidden() ? 1 : 0);
}

void MainWindow::AboutClick()
{
    AboutWindow about(this);
    about.showModal();
}

void MainWindow::ChangePasswordClick()
{
    ChangePasswordWindow change(this);
    change.showModal();
}

void MainWindow::LockNowClick()
{
    if (m_lock)
        m_lock->lockNow();
}

void MainWindow::LockSettingClick()
{
    LockSettingWindow setting(this);
    if (setting.showModal() == QDialog::Accepted && m_lock)
        m_lock->setIdleMinutes(setting.minutes());
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    const auto *change = static_cast<QWindowStateChangeEvent *>(event);
    if (!(change->oldState() & Qt::WindowMaximized) || !isNormalState())
        return;
    // Restored from maximised: the normal size, centred, not whatever geometry the window
    // manager kept (the window is maximised before it is first shown, so it never had one of
    // its own). The platform applies its geometry after this event, so it is set once more.
    restoreNormalGeometry();
    QTimer::singleShot(0, this, [this] {
        if (isNormalState())
            restoreNormalGeometry();
    });
}

bool MainWindow::isNormalState() const
{
    return !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
}

void MainWindow::restoreNormalGeometry()
{
    resize(kClientWidth, kClientHeight);
    Kit::centre(this);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_ended || !m_granted) {
        event->accept();
        return;
    }
    if (!Messages::askYesNo(this, QStringLiteral("Έξοδος;"))) {
        event->ignore();
        return;
    }
    hide();
    {
        SplashWindow splash;
        ModalRunner::exec(&splash);
    }
    m_ended = true;
    event->accept();
    QApplication::quit();
}
