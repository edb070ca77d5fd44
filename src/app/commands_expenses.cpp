#include "commands.h"

void AreaCommands::expenses(CommandTable &table)
{
    Q_UNUSED(table);
}
