#include "commands.h"

#include "calendarwindow.h"
#include "officeeditors.h"

namespace {

// Each office window is made anew when it is opened and shown modally.
std::function<void(QWidget *)> editor(EditorLayout (*layout)())
{
    return [layout](QWidget *main) {
        TableEditorWindow window(layout(), main);
        window.showModal();
    };
}

} // namespace

void AreaCommands::office(CommandTable &table)
{
    table[MenuCommand::Notebook] = editor(&OfficeEditors::notebook);
    table[MenuCommand::Reminders] = editor(&OfficeEditors::reminders);
    table[MenuCommand::PhoneNumbers] = editor(&OfficeEditors::phoneNumbers);
    table[MenuCommand::Doctors] = editor(&OfficeEditors::doctors);
    table[MenuCommand::CalendarTools] = [](QWidget *main) {
        CalendarWindow window(main);
        window.showModal();
    };
}
