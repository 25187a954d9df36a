// Nutrimo: start-up. The working directory is the Data directory.
#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return 0;
}
