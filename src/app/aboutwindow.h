#pragma once

#include "window.h"

class QPushButton;

// About the program: its name, version, maker and the maker's addresses.
class AboutWindow : public Window {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget *parent = nullptr);
    QPushButton *okButton() const { return m_ok; }

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    QPushButton *m_ok;
};
using TForm62 = AboutWindow;
