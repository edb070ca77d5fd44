#include "commands.h"

void AreaCommands::billing(CommandTable &table)
{
    Q_UNUSED(table);
}
