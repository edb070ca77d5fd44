// The program on a Greek system (LANG=el_GR.UTF-8) and on a C one: Qt's own buttons, file and
// print dialogs speak the system's language, and the locale the environment names is the one in
// force (a Greek run on a machine without the Greek locale would pass in C and prove nothing).
#include "qttranslation.h"
#include "qtprinters.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QTabWidget>
#include <clocale>
#include <gtest/gtest.h>

namespace {

bool greekSystem()
{
    return QLocale::system().language() == QLocale::Greek;
}

// Every text a person reads on the dialog: window title, labels, buttons, group boxes, tabs,
// and the tool tips of its actions (the preview's tool bar).
QStringList visibleTexts(QWidget *dialog)
{
    QStringList texts {dialog->windowTitle()};
    for (const QLabel *l : dialog->findChildren<QLabel *>())
        if (l->isVisibleTo(dialog))
            texts << l->text();
    for (const QAbstractButton *b : dialog->findChildren<QAbstractButton *>())
        if (b->isVisibleTo(dialog))
            texts << b->text();
    for (const QGroupBox *g : dialog->findChildren<QGroupBox *>())
        if (g->isVisibleTo(dialog))
            texts << g->title();
    for (const QTabWidget *t : dialog->findChildren<QTabWidget *>())
        for (int i = 0; i < t->count(); ++i)
            texts << t->tabText(i);
    for (const QAction *a : dialog->findChildren<QAction *>())
        if (!a->isSeparator())
            texts << a->text() << a->toolTip();
    texts.removeAll(QString());
    return texts;
}

// Words of English: three Latin letters or more, leaving out the names every language writes
// the same way (paper sizes, units, file types).
QStringList englishWords(const QStringList &texts)
{
    static const QRegularExpression word(QStringLiteral("[A-Za-z]{3,}"));
    static const QStringList names {QStringLiteral("PDF"), QStringLiteral("Letter"),
                                    QStringLiteral("Legal"), QStringLiteral("Pica"),
                                    QStringLiteral("Didot"), QStringLiteral("Cicero"),
                                    QStringLiteral("Orvanta")};
    QStringList found;
    for (const QString &text : texts) {
        for (auto it = word.globalMatch(text); it.hasNext();) {
            const QString w = it.next().captured();
            if (!names.contains(w))
                found << text;
        }
    }
    found.removeDuplicates();
    return found;
}

class GreekSystem : public ::testing::Test {
protected:
    static void SetUpTestSuite() { QtTranslation::installForSystem(); }
};

} // namespace

TEST_F(GreekSystem, TheLocaleTheEnvironmentNamesIsInForce)
{
    const QByteArray lang = qgetenv("LC_ALL").isEmpty() ? qgetenv("LANG") : qgetenv("LC_ALL");
    if (lang.isEmpty() || lang == "C" || lang == "POSIX")
        GTEST_SKIP() << "no locale named";
    // Qt set every category from the environment at start-up; a locale that is not generated
    // leaves the C library in C without a word.
    EXPECT_NE(std::setlocale(LC_ALL, ""), nullptr) << "locale " << lang.constData()
                                                   << " is not available (locale-gen)";
    if (lang.startsWith("el_GR")) {
        EXPECT_TRUE(greekSystem());
        EXPECT_EQ(QLocale::system().decimalPoint(), QStringLiteral(","));
    }
}

TEST_F(GreekSystem, QuestionsAndDialogsHaveNoEnglishCaption)
{
    if (!greekSystem()) {
        // Elsewhere Qt's own texts stay as they are.
        EXPECT_FALSE(QtTranslation::installForSystem());
        QMessageBox box(QMessageBox::Question, QStringLiteral("Orvanta"), QStringLiteral("?"),
                        QMessageBox::Yes | QMessageBox::No);
        EXPECT_EQ(box.button(QMessageBox::Yes)->text(), QStringLiteral("&Yes"));
        return;
    }
    ASSERT_TRUE(QtTranslation::installForSystem());

    // The exit question and every other one.
    QMessageBox question(QMessageBox::Question, QStringLiteral("Orvanta"),
                         QStringLiteral("Έξοδος;"), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(question.button(QMessageBox::Yes)->text(), QStringLiteral("&Ναι"));
    EXPECT_EQ(question.button(QMessageBox::No)->text(), QStringLiteral("Ό&χι"));
    QMessageBox okCancel(QMessageBox::Question, QStringLiteral("Orvanta"), QStringLiteral("?"),
                         QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Save);
    okCancel.setDetailedText(QStringLiteral("connection refused"));
    okCancel.show();
    EXPECT_EQ(englishWords(visibleTexts(&okCancel)), QStringList());
    okCancel.close();

    // The file dialogs as the exports and the backups open them.
    QFileDialog save(nullptr, QStringLiteral("Εξαγωγή"));
    save.setOption(QFileDialog::DontUseNativeDialog);
    save.setAcceptMode(QFileDialog::AcceptSave);
    save.setNameFilter(QStringLiteral("Αρχείο CSV (*.csv)"));
    save.show();
    EXPECT_EQ(englishWords(visibleTexts(&save)), QStringList());
    EXPECT_TRUE(visibleTexts(&save).contains(QStringLiteral("Αναζήτηση σε:")));
    save.close();
    QFileDialog folder(nullptr, QStringLiteral("Φάκελος"));
    folder.setOption(QFileDialog::DontUseNativeDialog);
    folder.setFileMode(QFileDialog::Directory);
    folder.setOption(QFileDialog::ShowDirsOnly);
    folder.show();
    EXPECT_EQ(englishWords(visibleTexts(&folder)), QStringList());
    folder.close();

    // Printing: the print dialog, the page setup and the print preview.
    QPrinter printer;
    QPrintDialog print(&printer);
    print.show();
    EXPECT_EQ(englishWords(visibleTexts(&print)), QStringList());
    EXPECT_TRUE(visibleTexts(&print).contains(QStringLiteral("&Εκτύπωση")));
    print.close();
    QPageSetupDialog page(&printer);
    page.show();
    EXPECT_EQ(englishWords(visibleTexts(&page)), QStringList());
    page.close();
    QPrintPreviewDialog preview(&printer);
    preview.show();
    EXPECT_EQ(englishWords(visibleTexts(&preview)), QStringList());
    EXPECT_TRUE(visibleTexts(&preview).contains(QStringLiteral("Επόμενη σελίδα")));
    preview.close();
}
