// Shows one error message of the launcher in a message box:  orvanta-notice TEXT
#include <QApplication>
#include <QMessageBox>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 2)
        return 2;
    QMessageBox::critical(nullptr, QStringLiteral("Orvanta"), QString::fromLocal8Bit(argv[1]));
    return 0;
}
