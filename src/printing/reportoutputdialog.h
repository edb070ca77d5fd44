#pragma once

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QPrinter;
class QPushButton;
class QRadioButton;
class QSpinBox;

// The engine's output-options dialogue: printer, preview or PDF file; copies; page range;
// printer set-up. It only asks: the caller produces the output.
class ReportOutputDialog : public QDialog {
    Q_OBJECT
public:
    enum class Destination { Printer, Preview, File };

    ReportOutputDialog(int pageCount, const QString &title, bool offerPreview,
                       QWidget *parent = nullptr);
    ~ReportOutputDialog() override;

    Destination destination() const;
    void setDestination(Destination d);
    QString fileName() const;
    void setFileName(const QString &name);
    int copies() const;
    int firstPage() const;
    int lastPage() const;
    // The printer chosen and set up in the dialogue.
    QPrinter &printer() { return *m_printer; }

    void accept() override;

private:
    void updateState();
    void setUpPrinter();
    void browse();

    int m_pageCount;
    QPrinter *m_printer;
    QRadioButton *m_toPrinter;
    QRadioButton *m_toPreview;
    QRadioButton *m_toFile;
    QComboBox *m_printers;
    QPushButton *m_setup;
    QLineEdit *m_file;
    QPushButton *m_browse;
    QSpinBox *m_copies;
    QRadioButton *m_allPages;
    QRadioButton *m_range;
    QSpinBox *m_from;
    QSpinBox *m_to;
    QPushButton *m_ok;
};
