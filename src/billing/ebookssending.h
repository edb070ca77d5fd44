#pragma once

#include <functional>

class QWidget;

namespace MyData {
class EbooksService;
}

// "Send waiting receipts": the receipts that wait for the e-books (the rejected ones too, since
// a person asks) and the cancellations still to be told, with a wait the person may leave; then
// what happened, the service's messages of each rejected receipt included. done runs after the
// message (tests wait for it).
void sendWaitingReceipts(QWidget *parent, MyData::EbooksService &service,
                         std::function<void()> done = {});
