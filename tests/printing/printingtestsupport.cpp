#include "printingtestsupport.h"

#include "connection.h"
#include "program.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace PrintingTest {

void installLayouts(const QString &folder)
{
    const QString source
        = QProcessEnvironment::systemEnvironment().value(QStringLiteral("ORVANTA_LAYOUTS_DIR"),
                                                         QStringLiteral(ORVANTA_SOURCE_LAYOUTS));
    const QDir dir(source);
    for (const QString &name : dir.entryList({QStringLiteral("*.RAV")}, QDir::Files)) {
        QFile::remove(QDir(folder).filePath(name));
        QFile::copy(dir.filePath(name), QDir(folder).filePath(name));
    }
}

QString pdfText(const QString &pdfPath, bool layout)
{
    QProcess p;
    QStringList args;
    if (layout)
        args << QStringLiteral("-layout");
    args << pdfPath << QStringLiteral("-");
    p.start(QStringLiteral("pdftotext"), args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

void addSampleData()
{
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    const QStringList statements {
        "INSERT INTO STOIXEIA_PELATH (ONOMA, EPWNYMO, FYLO, HMEROMHNIA_GENNHSEWS, THLEFWNO_1, "
        "THLEFWNO_2, DIEYTHYNSH, EPAGGELMA, TAMEIO, [1], [7], [27], ISTORIKO) VALUES ('Γιώργος', "
        "'Παπαδόπουλος', 'ΑΡΡΕΝ', #3/28/1957#, '2101234567', '6971234567', 'Ερμού 12, Αθήνα', "
        "'Λογιστής', 'ΙΚΑ', 'ΝΑΙ', 'ΟΧΙ', 'ΝΑΙ', 'Χειρουργείο γόνατος το 2001.')",
        "INSERT INTO STOIXEIA_PELATH (ONOMA, EPWNYMO, FYLO, HMEROMHNIA_GENNHSEWS, TAMEIO) VALUES "
        "('Μαρία', 'Αντωνίου', 'ΘΗΛΥ', #12/1/1972#, 'ΟΑΕΕ')",
        "INSERT INTO STOIXEIA_PELATH (ONOMA, EPWNYMO, FYLO, HMEROMHNIA_GENNHSEWS) VALUES "
        "('Ελένη', 'Ζαχαρίου', 'ΘΗΛΥ', #6/15/1955#)",
        "INSERT INTO SHMEIWSEIS (TITLOS, PERIGRAFH) VALUES ('Προμήθειες', 'Γάντια και κρέμες.')",
        "INSERT INTO SHMEIWSEIS (TITLOS, PERIGRAFH) VALUES ('Ασφάλιση', 'Ανανέωση τον Μάρτιο.')",
        "INSERT INTO EKSODA (HMEROMHNIA, POSO, VAT, PERIGRAFH) VALUES (#3/5/2008#, 100, 19, "
        "'Ενοίκιο')",
        "INSERT INTO EKSODA (HMEROMHNIA, POSO, VAT, PERIGRAFH) VALUES (#3/20/2008#, 40.5, 7.7, "
        "'Ρεύμα')",
        "INSERT INTO EKSODA (HMEROMHNIA, POSO, VAT, PERIGRAFH) VALUES (#4/2/2008#, 12, 0, 'Γραφική "
        "ύλη')",
        "INSERT INTO INFORMATION (TITLE, ADDRESS1, ADDRESS2, PHONE, FAX, WEBSITE, EMAIL, AFT, "
        "AFPA, "
        "EXTRA1, EXTRA3) VALUES ('Φυσικοθεραπευτήριο Νίκου Δημητρίου', 'Αγίου Νικολάου 5', "
        "'Λευκωσία 1010', '22123456', '22123457', 'www.physio.example', 'info@physio.example', "
        "'123456789', 'CY10203040', 'Πτυχιούχος φυσικοθεραπευτής', 'Δευτέρα - Παρασκευή 8:00 - "
        "20:00')",
        "INSERT INTO SYNTELESTHS_VAT (VAT_RATIO) VALUES (15)",
        "INSERT INTO APODEIKSEIS (AR_APODEIKSHS, ONOMA, EPWNYMO, PARALHPTHS, POSO, TAMEIO, "
        "POSO_CY, "
        "PERIGRAFH, VAT, SYNOLIKO_POSO) VALUES (100, 'Γιώργος', 'Παπαδόπουλος', 'Γιώργος "
        "Παπαδόπουλος', 40, 'ΙΚΑ', 23.41, 'Φυσικοθεραπεία', 6, 46)",
    };
    for (const QString &s : statements)
        c.execute(s);
}

QString longText(int paragraphs)
{
    QStringList out;
    for (int i = 1; i <= paragraphs; ++i)
        out << QStringLiteral("Παράγραφος %1: πόνος στη μέση μετά από άρση βάρους, "
                              "φυσικοθεραπεία δύο φορές την εβδομάδα και ασκήσεις στο σπίτι.")
                   .arg(i);
    return out.join(QLatin1Char('\n'));
}

PrintingFixture::PrintingFixture()
    : output(qEnvironmentVariable("ORVANTA_KEEP_PDF"))
{
    installLayouts(practice.dir());
    addSampleData();
}

QString PrintingFixture::patientId(const QString &surname) const
{
    return practice.scalar("SELECT ID FROM STOIXEIA_PELATH WHERE EPWNYMO='" + surname + "'");
}

void PrintingFixture::removeLayout(const QString &name) const
{
    EXPECT_TRUE(QFile::remove(QDir(practice.dir()).filePath(name))) << name.toStdString();
}

QString PrintingFixture::lastText(bool layout) const
{
    EXPECT_FALSE(output.runs().isEmpty());
    return output.runs().isEmpty() ? QString() : pdfText(output.runs().last().pdfPath, layout);
}

int PrintingFixture::lastPages() const
{
    return output.runs().isEmpty() ? 0 : output.runs().last().pages;
}

} // namespace PrintingTest
