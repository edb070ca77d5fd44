#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Reads what the e-books service answers, leniently: real replies do not always follow the
// published response schema (errors before or after the status code), some come wrapped as an
// escaped string inside a serialisation element, and refusals of the gateway come as JSON.
namespace MyData {

struct ServiceError {
    QString code;
    QString message;
};

// One `response` of a ResponseDoc: the outcome for one document (or one cancellation).
struct Response {
    int index = 0;   // from 1, the document's place in what was sent; 0 when not given
    QString status;  // "Success", "ValidationError", "TechnicalError", "XMLSyntaxError"...
    QString uid;
    qint64 mark = 0;
    QString qrUrl;
    qint64 cancellationMark = 0;
    QList<ServiceError> errors;

    bool succeeded() const { return status == QLatin1String("Success"); }
};

// One document the service holds, as RequestTransmittedDocs lists it.
struct TransmittedDoc {
    QString uid;
    qint64 mark = 0;
    QString qrUrl;
    qint64 cancelledByMark = 0;
};

struct Reply {
    enum class Kind {
        Responses,   // a ResponseDoc with at least one response, each with a status
        Transmitted, // a RequestedDoc: the documents this user sent (possibly none)
        Refused,     // the gateway refused the request (401, 403 ...), usually with JSON
        RateLimited, // 429: try again later
        ServerError, // 5xx without a readable ResponseDoc
        Unreadable,  // anything else: nothing can be concluded from it
    };
    Kind kind = Kind::Unreadable;
    int httpStatus = 0;
    QList<Response> responses;
    QList<TransmittedDoc> transmitted;
    // RequestTransmittedDocs gives the rest of a long list through a continuation token.
    QString nextPartitionKey;
    QString nextRowKey;
    QString message; // the gateway's message (JSON "message"), or why the reply is unreadable
};

// Reads a reply from its HTTP status and body. Never throws; any bytes give some Reply.
Reply parseReply(int httpStatus, const QByteArray &body);

} // namespace MyData
