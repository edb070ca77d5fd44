#include "commands.h"

void AreaCommands::patients(CommandTable &table)
{
    Q_UNUSED(table);
}
