#pragma once

#include <QString>

// Fills a new practice file with generated patients and visits, straight through SQLite, for
// benchmarks and screenshots. Patient 1 gets exactly `visitsOfFirst` visits; the other visits
// are spread over the other patients.
struct GeneratedPractice {
    int patients = 0;
    int visits = 0;
    int visitsOfFirst = 0;
    int papSurnames = 0; // patients whose surname begins with ΠΑΠ
};

GeneratedPractice generatePractice(const QString &dbPath, int patients, int visits,
                                   int visitsOfFirst);
