#pragma once

#include <QDialog>
#include <QPalette>

#include <functional>

class QCalendarWidget;
class QLabel;
class QPushButton;
class RecordSet;

// The conventions every window of the program follows: a fixed single border with only the
// close box (or no border icons at all), centred on the screen, sky-blue, modal; the exit
// button answers Esc and the action button answers Enter.
class Window : public QDialog {
    Q_OBJECT
public:
    enum class Border { CloseBox, NoIcons };

    explicit Window(QWidget *parent = nullptr);

    // Caption, fixed client size, border icons; the window is centred when it is shown.
    void setUpWindow(const QString &caption, int clientWidth, int clientHeight,
                     Border border = Border::CloseBox);

    // The exit button: Esc presses it. Without one, Esc closes the window unless the window
    // has no border icons (then Esc does nothing). Exit buttons close with close().
    void setCancelButton(QPushButton *button);
    // The window's exit button "Έ&ξοδος" (a window may give another caption): a child of the
    // window that is its cancel button (Esc) and closes it when pressed, shown or not, as
    // "cancelled". The caller places it.
    QPushButton *addExitButton(const QString &objectName = QStringLiteral("exitButton"),
                               const QString &caption = QStringLiteral("Έ&ξοδος"));
    // The action button: Enter presses it while it is enabled.
    void setDefaultButton(QPushButton *button);

    // Shows the window modally through the program's one seam for modal windows.
    int showModal();

    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QPushButton *m_cancel = nullptr;
    Border m_border = Border::CloseBox;
    bool m_centred = false;
};

// The one seam through which every window opens another modally: by default exec(); a test
// installs its own runner, which drives the window and returns its result, so no test blocks.
namespace ModalRunner {
using Runner = std::function<int(QDialog *)>;
int exec(QDialog *dialog);
void install(Runner runner); // an empty runner restores exec()
} // namespace ModalRunner

// Small helpers for building windows.
namespace Kit {

// Sets one colour of a widget's palette.
void setColour(QWidget *widget, QPalette::ColorRole role, const QColor &colour);
// Gives a widget the sky-blue background.
void paintSkyBlue(QWidget *widget);
// A red "*" that marks an expected field.
QLabel *requiredStar(QWidget *parent);
// A red label for count lines ("Βρέθηκαν 3 ασθενείς").
QLabel *countLabel(QWidget *parent, const QString &objectName);
// "Βρέθηκαν " + n + noun, the count line of every list.
QString countText(int n, const QString &noun);
// A label in bold (or red bold for warnings).
QLabel *boldLabel(const QString &text, QWidget *parent, bool red = false);
// A bold label that names a field: its buddy, so that a screen reader reads the label as the
// field's name and the label's shortcut moves to the field.
QLabel *labelFor(const QString &text, QWidget *field);
// Names the month arrows of a calendar for a screen reader (Qt leaves them without a caption).
void nameCalendarArrows(QCalendarWidget *calendar);
// Centres a top-level widget on the screen it is on.
void centre(QWidget *widget);
// Makes every drop-down below root turn its choice with the mouse wheel only while it has the
// focus, so that scrolling over a form never changes a stored answer by accident. A box that
// took the focus from the wheel now takes it from Tab and clicks only. Every window does this
// for its own boxes when it is shown.
void guardWheel(QWidget *root);

// Runs an action and shows a failure of the database layer in the error dialog; the window
// stays as it is. Returns false when the action failed.
bool guarded(QWidget *parent, const std::function<void()> &action);
// Before a window closes: a new record whose registration is still unsettled is looked up,
// and the person is told when its outcome still cannot be known.
void settleBeforeClosing(QWidget *parent, RecordSet &records);

} // namespace Kit
