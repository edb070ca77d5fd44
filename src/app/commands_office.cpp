#include "commands.h"

void AreaCommands::office(CommandTable &table)
{
    Q_UNUSED(table);
}
