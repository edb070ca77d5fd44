#pragma once

#include <QHash>
#include <QPointer>
#include <QWidget>

#include <functional>

class QToolButton;
#include "recordset.h"

// A record bar: the buttons a window chooses among first, prior, next, last, insert, delete,
// edit, post, cancel and refresh, each enabled from the record set's state. Delete asks
// "Delete record?" first; failures of the database layer go to the error dialog.
class RecordNavigator : public QWidget {
    Q_OBJECT
public:
    enum Button {
        First = 0x1,
        Prior = 0x2,
        Next = 0x4,
        Last = 0x8,
        Insert = 0x10,
        Delete = 0x20,
        Edit = 0x40,
        Post = 0x80,
        Cancel = 0x100,
        Refresh = 0x200,
        Moves = First | Prior | Next | Last,
        All = 0x3FF,
    };
    Q_DECLARE_FLAGS(Buttons, Button)

    explicit RecordNavigator(Buttons buttons, QWidget *parent = nullptr);

    void setRecordSet(RecordSet *records);
    QToolButton *button(Button which) const { return m_buttons.value(which); }

    // Runs a button's action as a click would.
    void press(Button which);

    // A check that runs before Post writes a pending edit. When it returns false nothing is
    // written and the row stays in edit; the check tells the person why. None by default.
    void setPostCheck(std::function<bool()> check) { m_postCheck = std::move(check); }

signals:
    // After a button's action has run (refresh asks the window to read again).
    void pressed(RecordNavigator::Button which);
    void refreshRequested();

private:
    void updateButtons();

    QPointer<RecordSet> m_records;
    QHash<int, QToolButton *> m_buttons;
    QList<QMetaObject::Connection> m_links;
    std::function<bool()> m_postCheck;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(RecordNavigator::Buttons)
