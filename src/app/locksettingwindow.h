#pragma once

#include "datawindow.h"

class QLabel;
class QPushButton;
class QSpinBox;

// Sets the minutes without use after which the program locks itself (0: never by itself),
// kept in the practice database for every workstation.
class LockSettingWindow : public DataWindow {
    Q_OBJECT
public:
    explicit LockSettingWindow(QWidget *parent = nullptr);
    ~LockSettingWindow() override;

    QSpinBox *minutesBox() const { return m_minutes; }
    QPushButton *saveButton() const { return m_save; }
    // The minutes stored (after "Καταχώρηση") or read when the window was created.
    int minutes() const { return m_stored; }

    void SaveClick();

private:
    void showUnit(int minutes);

    QSpinBox *m_minutes;
    QLabel *m_unit;
    QPushButton *m_save;
    int m_stored = 0;
};
