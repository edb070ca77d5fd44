#include "schemavalidator.h"

#include <QDir>
#include <QFile>

#include <libxml/parser.h>
#include <libxml/xmlschemas.h>

namespace MyData {

struct SchemaValidator::Schema {
    xmlSchemaPtr schema = nullptr;
};

namespace {

// Collects libxml2's structured errors as "line N: message".
void collect(void *context, xmlErrorPtr error)
{
    auto *errors = static_cast<QStringList *>(context);
    QString message = QString::fromUtf8(error->message ? error->message : "").trimmed();
    if (error->line > 0)
        message = QStringLiteral("line %1: %2").arg(error->line).arg(message);
    errors->append(message);
}

} // namespace

SchemaValidator::SchemaValidator(const QString &folder)
{
    xmlInitParser();
    const QString path = QDir(folder).filePath(QString::fromLatin1(kMainFile));
    if (folder.isEmpty() || !QFile::exists(path)) {
        m_loadError = QStringLiteral("no schema at %1").arg(path);
        return;
    }
    QStringList errors;
    xmlSchemaParserCtxtPtr parser = xmlSchemaNewParserCtxt(QFile::encodeName(path).constData());
    if (!parser) {
        m_loadError = QStringLiteral("cannot read %1").arg(path);
        return;
    }
    xmlSchemaSetParserStructuredErrors(parser, collect, &errors);
    xmlSchemaPtr schema = xmlSchemaParse(parser);
    xmlSchemaFreeParserCtxt(parser);
    if (!schema) {
        m_loadError = errors.isEmpty() ? QStringLiteral("the schema at %1 does not load").arg(path)
                                       : errors.join(QLatin1Char('\n'));
        return;
    }
    m_schema = new Schema{schema};
}

SchemaValidator::~SchemaValidator()
{
    if (m_schema) {
        xmlSchemaFree(m_schema->schema);
        delete m_schema;
    }
}

QStringList SchemaValidator::validate(const QByteArray &xml) const
{
    QStringList errors;
    if (!m_schema) {
        errors << m_loadError;
        return errors;
    }
    // No network, no entities expanded, no DTD loaded: the document is our own, but a reader
    // of outside text must never be talked into fetching anything.
    xmlParserCtxtPtr parser = xmlNewParserCtxt();
    if (!parser) {
        errors << QStringLiteral("out of memory");
        return errors;
    }
    xmlSetStructuredErrorFunc(&errors, collect);
    xmlDocPtr doc = xmlCtxtReadMemory(parser, xml.constData(), int(xml.size()), "document.xml",
                                      "UTF-8", XML_PARSE_NONET);
    xmlSetStructuredErrorFunc(nullptr, nullptr);
    if (!doc) {
        if (errors.isEmpty())
            errors << QStringLiteral("not well-formed XML");
        xmlFreeParserCtxt(parser);
        return errors;
    }
    xmlFreeParserCtxt(parser);
    xmlSchemaValidCtxtPtr valid = xmlSchemaNewValidCtxt(m_schema->schema);
    xmlSchemaSetValidStructuredErrors(valid, collect, &errors);
    const int result = xmlSchemaValidateDoc(valid, doc);
    xmlSchemaFreeValidCtxt(valid);
    xmlFreeDoc(doc);
    if (result != 0 && errors.isEmpty())
        errors << QStringLiteral("the schema refused the document");
    return errors;
}

} // namespace MyData
