#include "replyparser.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QXmlStreamReader>

namespace MyData {

namespace {

// An escaped reply inside an escaped reply is unwrapped this many times at most.
constexpr int kMaxWrapping = 3;
constexpr char kSerializationNamespace[]
    = "http://schemas.microsoft.com/2003/10/Serialization/";

qint64 toMark(const QString &text)
{
    bool ok = false;
    const qint64 mark = text.trimmed().toLongLong(&ok);
    return ok && mark > 0 ? mark : 0;
}

// Reads the children of the current element into name -> text, descending into `errors`,
// whose `error` elements are gathered apart.
void readResponse(QXmlStreamReader &r, Response &out)
{
    ServiceError *error = nullptr;
    int depth = 1;
    while (depth > 0 && !r.atEnd()) {
        r.readNext();
        if (r.isEndElement()) {
            --depth;
            if (r.name() == QLatin1String("error"))
                error = nullptr;
            continue;
        }
        if (!r.isStartElement())
            continue;
        const QString name = r.name().toString();
        if (name == QLatin1String("errors")) {
            ++depth;
        } else if (name == QLatin1String("error")) {
            out.errors.append(ServiceError{});
            error = &out.errors.last();
            ++depth;
        } else if (error && name == QLatin1String("message")) {
            error->message = r.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        } else if (error && name == QLatin1String("code")) {
            error->code = r.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        } else {
            const QString text
                = r.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
            if (name == QLatin1String("index"))
                out.index = text.toInt();
            else if (name == QLatin1String("statusCode"))
                out.status = text;
            else if (name == QLatin1String("invoiceUid"))
                out.uid = text;
            else if (name == QLatin1String("invoiceMark"))
                out.mark = toMark(text);
            else if (name == QLatin1String("qrUrl"))
                out.qrUrl = text;
            else if (name == QLatin1String("cancellationMark"))
                out.cancellationMark = toMark(text);
        }
    }
}

void readInvoice(QXmlStreamReader &r, TransmittedDoc &out)
{
    int depth = 1;
    while (depth > 0 && !r.atEnd()) {
        r.readNext();
        if (r.isEndElement()) {
            --depth;
        } else if (r.isStartElement()) {
            const QString name = r.name().toString();
            if (name == QLatin1String("uid")) {
                out.uid = r.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
            } else if (name == QLatin1String("mark")) {
                out.mark = toMark(r.readElementText(QXmlStreamReader::SkipChildElements));
            } else if (name == QLatin1String("qrCodeUrl")) {
                out.qrUrl = r.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
            } else if (name == QLatin1String("cancelledByMark")) {
                out.cancelledByMark
                    = toMark(r.readElementText(QXmlStreamReader::SkipChildElements));
            } else {
                ++depth; // the header, the lines and the rest: read through
            }
        }
    }
}

void readXml(const QByteArray &body, Reply &reply, int wrapping)
{
    QXmlStreamReader r(body);
    // The gateway's own documents have no DTD; one that declares entities is not believed.
    r.setEntityExpansionLimit(0);
    while (!r.atEnd() && !r.isStartElement())
        r.readNext();
    if (!r.isStartElement()) {
        reply.message = QStringLiteral("no XML element in the reply");
        return;
    }
    const QString root = r.name().toString();
    if (root == QLatin1String("string")
        && r.namespaceUri() == QLatin1String(kSerializationNamespace)) {
        const QString inner = r.readElementText(QXmlStreamReader::SkipChildElements);
        if (r.hasError() || wrapping >= kMaxWrapping) {
            reply.message = QStringLiteral("unreadable wrapped reply");
            return;
        }
        readXml(inner.toUtf8(), reply, wrapping + 1);
        return;
    }
    if (root == QLatin1String("ResponseDoc")) {
        QList<Response> responses;
        while (!r.atEnd()) {
            r.readNext();
            if (r.isStartElement() && r.name() == QLatin1String("response")) {
                Response one;
                readResponse(r, one);
                responses.append(one);
            }
        }
        if (r.hasError()) {
            reply.message = QStringLiteral("the reply breaks off: %1").arg(r.errorString());
            return;
        }
        for (const Response &one : responses)
            if (one.status.isEmpty()) {
                reply.message = QStringLiteral("a response without a status code");
                return;
            }
        if (responses.isEmpty()) {
            reply.message = QStringLiteral("a ResponseDoc without a response");
            return;
        }
        reply.responses = responses;
        reply.kind = Reply::Kind::Responses;
        return;
    }
    if (root == QLatin1String("RequestedDoc")) {
        QList<TransmittedDoc> docs;
        QString partition, row;
        while (!r.atEnd()) {
            r.readNext();
            if (!r.isStartElement())
                continue;
            if (r.name() == QLatin1String("invoice")) {
                TransmittedDoc doc;
                readInvoice(r, doc);
                if (!doc.uid.isEmpty() || doc.mark != 0)
                    docs.append(doc);
            } else if (r.name() == QLatin1String("nextPartitionKey")) {
                partition = r.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
            } else if (r.name() == QLatin1String("nextRowKey")) {
                row = r.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
            }
        }
        if (r.hasError()) {
            reply.message = QStringLiteral("the reply breaks off: %1").arg(r.errorString());
            return;
        }
        reply.transmitted = docs;
        reply.nextPartitionKey = partition;
        reply.nextRowKey = row;
        reply.kind = Reply::Kind::Transmitted;
        return;
    }
    reply.message = QStringLiteral("unexpected reply element %1").arg(root);
}

} // namespace

Reply parseReply(int httpStatus, const QByteArray &body)
{
    Reply reply;
    reply.httpStatus = httpStatus;
    QByteArray trimmed = body.trimmed();
    if (trimmed.startsWith("\xEF\xBB\xBF"))
        trimmed = trimmed.mid(3).trimmed(); // a byte-order mark before the XML
    if (httpStatus == 429) {
        reply.kind = Reply::Kind::RateLimited;
        reply.message = QStringLiteral("too many requests");
        return reply;
    }
    if (httpStatus == 401 || httpStatus == 403) {
        reply.kind = Reply::Kind::Refused;
        const QJsonDocument json = QJsonDocument::fromJson(trimmed);
        if (json.isObject())
            reply.message = json.object().value(QLatin1String("message")).toString();
        if (reply.message.isEmpty())
            reply.message = QString::fromUtf8(trimmed.left(300));
        return reply;
    }
    if (!trimmed.startsWith('<')) {
        reply.kind = httpStatus >= 500 ? Reply::Kind::ServerError : Reply::Kind::Unreadable;
        reply.message = QStringLiteral("HTTP %1: %2")
                            .arg(httpStatus)
                            .arg(QString::fromUtf8(trimmed.left(300)));
        return reply;
    }
    readXml(trimmed, reply, 0);
    if (reply.kind == Reply::Kind::Unreadable && httpStatus >= 500)
        reply.kind = Reply::Kind::ServerError;
    return reply;
}

} // namespace MyData
