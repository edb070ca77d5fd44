#pragma once

#include "invoicedocument.h"
#include "serviceclient.h"

#include <QString>

class Connection;

// The practice's choices for the e-books, kept in the practice's database (every workstation
// of a server sends the same way) in a table of their own. The subscription key is not among
// them: it stays in the desktop's keyring (SecretStore).
namespace MyData {

struct EbooksSettings {
    bool enabled = false;    // off until the practice turns it on
    bool production = false; // the authority's test service until the practice says otherwise
    QString user;            // aade-user-id
    QString series = QStringLiteral("Α");
    VatTreatment treatment = VatTreatment::Exempt;
    int paymentMethod = int(PaymentMethod::Cash);

    // Reads them; a practice that never set them gets the defaults. Throws DbError.
    static EbooksSettings read(Connection &connection);
    // Writes them in one transaction of the caller's connection. Throws DbError.
    void write(Connection &connection) const;

    QUrl serviceUrl() const;
    ServiceSettings service(const QString &key) const;
};

} // namespace MyData
