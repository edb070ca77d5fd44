#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

// Validates a document against the tax authority's published XML schema with libxml2, before it
// is sent: a document the schema refuses is never transmitted.
namespace MyData {

class SchemaValidator {
public:
    // Reads InvoicesDoc-v2.0.1.xsd (and what it imports) from the folder. The schema is read
    // from local files only: nothing is fetched from the network.
    explicit SchemaValidator(const QString &folder);
    ~SchemaValidator();
    SchemaValidator(const SchemaValidator &) = delete;
    SchemaValidator &operator=(const SchemaValidator &) = delete;

    // False when the folder holds no readable schema; loadError() says why.
    bool isLoaded() const { return m_schema != nullptr; }
    QString loadError() const { return m_loadError; }

    // The schema's complaints about the document, one per line; empty when it is valid. A
    // document that is not well-formed XML, or any document when no schema is loaded, gets at
    // least one.
    QStringList validate(const QByteArray &xml) const;

    static constexpr char kMainFile[] = "InvoicesDoc-v2.0.1.xsd";

private:
    struct Schema;
    Schema *m_schema = nullptr;
    QString m_loadError;
};

} // namespace MyData
