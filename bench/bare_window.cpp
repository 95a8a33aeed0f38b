// The yardstick of the start-up benchmark: a bare Qt window with a menu and a Chinese label, the
// least a Qt program with Lexora's look can do before its window is mapped.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bare window"));
    window.menuBar()
        ->addMenu(QStringLiteral("文件"))
        ->addAction(QStringLiteral("退出"), &app, &QApplication::quit);
    auto* label = new QLabel(QStringLiteral("英语单词"), &window);
    label->setFont(QFont(QStringLiteral("Noto Sans CJK SC"), 26));
    window.setCentralWidget(label);
    window.resize(400, 300);
    window.show();
    return QApplication::exec();
}
