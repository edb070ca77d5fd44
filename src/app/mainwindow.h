#pragma once

#include "commands.h"

#include <QDate>
#include <QHash>
#include <QMainWindow>

class QAction;
class QCalendarWidget;
class QLabel;
class QPushButton;
class QTimer;
class ScreenLock;
class QWidget;

// The main window: its creation runs the whole start-up dialogue (splash, notice, first
// password, login, today's reminder, receipt numbering check); then it is the hub from whose
// menu and command panel every other window is opened modally.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The client area when the window is not maximised.
    static constexpr int kClientWidth = 968;
    static constexpr int kClientHeight = 724;

    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // False when start-up ended the program (login refused or the database unreadable): the
    // window must not be shown.
    bool startupGranted() const { return m_granted; }
    // Connects the menu entries and panel buttons to what the areas offer.
    void setCommands(const CommandTable &commands);

    QAction *action(const QString &objectName) const;
    QWidget *commandPanel() const { return m_panel; }
    QPushButton *panelToggle() const { return m_toggle; }
    QLabel *clockPanel() const { return m_clockPanel; }
    QLabel *versionPanel() const { return m_versionPanel; }
    QTimer *statusTimer() const { return m_timer; }
    QCalendarWidget *calendar() const { return m_calendar; }
    QDate startDate() const { return m_startDate; }
    bool ended() const { return m_ended; }
    // True when the program ended because a backup was put in place of data.mdb.
    bool restored() const { return m_restored; }
    // The program's lock, from a granted login on; nullptr before.
    ScreenLock *screenLock() const { return m_lock; }

    // Handlers, named after what runs them.
    void FormCreate();
    void Timer1Timer();
    void TodaysReminderCheck();
    void ReceiptNumberingCheck();
    void BackupClick();
    void BackupNowClick();
    void RestoreClick();
    void ToggleClick();
    void AboutClick();
    void ChangePasswordClick();
    void LockNowClick();
    void LockSettingClick();

    // The text of the "Important Information" notice and of the backup message.
    static QString noticeText();
    static QString backupText();
    // The status bar's date and time: short date, a blank, the long time; at exactly
    // midnight the time is left out.
    static QString dateTimeText(const QDateTime &when);

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool isNormalState() const;
    void restoreNormalGeometry();
    void buildMenu();
    void buildBody();
    void run(MenuCommand command);
    void startScreenLock();
    QAction *addEntry(QMenu *menu, const QString &caption, const QString &objectName);

    CommandTable m_commands;
    QHash<MenuCommand, QList<QObject *>> m_commandControls;
    QHash<QString, QAction *> m_actions;
    QWidget *m_panel = nullptr;
    QPushButton *m_toggle = nullptr;
    QLabel *m_clockPanel = nullptr;
    QLabel *m_versionPanel = nullptr;
    QCalendarWidget *m_calendar = nullptr;
    QTimer *m_timer = nullptr;
    ScreenLock *m_lock = nullptr;
    QDate m_startDate;
    QString m_storedPassword;
    bool m_granted = false;
    bool m_ended = false;
    bool m_restored = false;
};
using TForm3 = MainWindow;
