// The yardstick for start-up time and memory: a bare Qt window with the same
// controls as ours and no logic at all.
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("Brindelor");
    window.setFixedSize(220, 359);

    new QLabel("Augmentation", &window);
    new QLabel("Tarif de base", &window);
    new QLineEdit(&window);
    const char* captions[] = {"O", "9", "I", "X", "K", "effacer"};
    for (int g = 0; g < 2; ++g) {
        auto* box = new QGroupBox(g == 0 ? "1er Modificateur" : "2ème Modificateur", &window);
        box->setGeometry(8 + 103 * g, 35, 97, 145);
        for (int i = 0; i < 6; ++i)
            (new QRadioButton(captions[i], box))->setGeometry(16, 35 + 19 * i, 57, 17);
    }
    (new QPushButton("Calculer", &window))->hide();
    new QLineEdit(&window);
    auto* results = new QGroupBox("Nouveaux Tarifs", &window);
    results->setGeometry(7, 213, 206, 140);
    for (const char* caption : {"€", "01/07/2013", "01/03/2014", "€", "Différence", "JO 2012", "€", "€"})
        new QLabel(caption, results);
    for (int i = 0; i < 4; ++i)
        (new QLineEdit(results))->setGeometry(107, 20 + 27 * i, 75, 21);

    window.show();
    return app.exec();
}
