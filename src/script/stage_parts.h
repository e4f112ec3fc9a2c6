// The parts of a job's script stage beside the calls of its entry functions:
// loading the script with its loops guarded, and moving the cartridge clock.
#pragma once

#include <QCoreApplication>

#include "script/squirrel_api.h"

class JobContext;

// Lets the translation tools see the stage's texts in their context.
struct ScriptText {
    Q_DECLARE_TR_FUNCTIONS(QObject)
};

// Compiles and runs the job's script file, which defines its entry functions.
bool load_script(HSQUIRRELVM v, JobContext* job);

// Moves the cartridge clock with the save, when the job carries it: after a
// save read its registers go into the job; a save write sets them.
bool clock_read(HSQUIRRELVM v, JobContext* job);
bool clock_write(HSQUIRRELVM v, JobContext* job);
