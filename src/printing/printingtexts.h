#pragma once

#include <QString>

// The texts of the printing windows: captions, buttons, layout files, connection names and the
// SELECT texts that each button runs.
namespace PrintingTexts {

inline const QString kCaption = QStringLiteral("Εκτύπωση");
inline const QString kPrintAll = QStringLiteral("Εκτύπωση όλων");
inline const QString kPrintSelected = QStringLiteral("Εκτύπωση του επιλεγμένου");
inline const QString kPrintList = QStringLiteral("Εκτύπωση της λίστας των ασθενών");
inline const QString kExit = QStringLiteral("Έξοδος");
inline const QString kGroupDetails = QStringLiteral("Στοιχεία του ασθενούς");
inline const QString kGroupHealth = QStringLiteral("Δελτίο υγείας του ασθενούς");
inline const QString kGroupHistory = QStringLiteral("Ιστορικό του ασθενούς");
inline const QString kGroupList = QStringLiteral("Λίστα των ασθενών");

inline const QString kListLayout = QStringLiteral("\\LIST.RAV");
inline const QString kDetailsLayout = QStringLiteral("\\STOIXEIA.RAV");
inline const QString kHealthLayout = QStringLiteral("\\DYGEIAS.RAV");
inline const QString kHistoryLayout = QStringLiteral("\\ISTORIKO.RAV");
inline const QString kNotesLayout = QStringLiteral("\\NOTES.RAV");
inline const QString kPrescriptionLayout = QStringLiteral("\\SYNTAGOLOGIO.RAV");
inline const QString kCertificateLayout = QStringLiteral("\\ADEIA.RAV");

inline const QString kPatientConnection = QStringLiteral("RvDataSetConnection7");
inline const QString kNotesConnection = QStringLiteral("RvDataSetConnection2");
inline const QString kPrescriptionConnection = QStringLiteral("RvDataSetConnection177SYNTAG");
inline const QString kCertificateConnection = QStringLiteral("RvDataSetConnection178ADEIAXOR");

inline const QString kDetailsSelect = QStringLiteral(
    "SELECT ID, ONOMA, EPWNYMO, FYLO, HMEROMHNIA_GENNHSEWS, THLEFWNO_1, THLEFWNO_2, DIEYTHYNSH, "
    "EPAGGELMA, TAMEIO FROM STOIXEIA_PELATH ");
inline const QString kHealthSelect = QStringLiteral("SELECT * FROM STOIXEIA_PELATH ");
inline const QString kHistorySelect = QStringLiteral(
    "SELECT ID, ONOMA, EPWNYMO, FYLO, HMEROMHNIA_GENNHSEWS, THLEFWNO_1, THLEFWNO_2, DIEYTHYNSH, "
    "EPAGGELMA, TAMEIO, ISTORIKO FROM STOIXEIA_PELATH ");
inline const QString kWhereId = QStringLiteral(" WHERE ID=");

inline const QString kAllNotesSelect
    = QStringLiteral("SELECT TITLOS,PERIGRAFH FROM SHMEIWSEIS ORDER BY TITLOS ASC");
inline const QString kOneNoteSelect
    = QStringLiteral("SELECT TITLOS,PERIGRAFH FROM SHMEIWSEIS WHERE ID=");

inline const QString kInformationTable = QStringLiteral("INFORMATION");

} // namespace PrintingTexts
