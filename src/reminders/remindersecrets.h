#pragma once

#include "remindersending.h"
#include "secretstore.h"

#include <functional>

// The mail password and the SMS key from the desktop's keyring (the seam the e-books key uses),
// under the reminders' own service name (Reminders::kSecretService).
namespace Reminders {

// Reads both and answers once, on the thread's event loop; a keyring that cannot be reached
// gives secrets not found, with its error.
void readSecrets(MyData::SecretStore &store,
                 std::function<void(const Secrets &, const QString &error)> done);
// The same, waiting for the answer in a local event loop (the command-line tool).
Secrets readSecretsNow(MyData::SecretStore &store, QString *error = nullptr);

} // namespace Reminders
