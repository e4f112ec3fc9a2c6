// The verdict of a ROM file a user already has, as a dump is judged, without a board.
#pragma once

#include <QString>
#include <QStringList>

#include "jobs/dump_verdict.h"

struct FileVerdict {
    bool judged = false;
    QString failure;    // why the file could not be judged
    QStringList lines;  // what it is, then the verdict's lines
    DumpVerdict verdict = DumpVerdict::None;
};

FileVerdict judge_file(const QString& path);
