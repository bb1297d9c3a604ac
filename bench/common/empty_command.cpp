// The reference for the command-line programs' start-up: the smallest Qt
// command-line program, which makes its application object and ends.

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    return 0;
}
