#include "commands.h"

void AreaCommands::printing(CommandTable &table)
{
    Q_UNUSED(table);
}
