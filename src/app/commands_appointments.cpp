#include "commands.h"

void AreaCommands::appointments(CommandTable &table)
{
    Q_UNUSED(table);
}
