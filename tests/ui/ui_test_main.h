#pragma once
// main() for the widget tests: a French locale for QLocale::system(), our
// application object (its notify() is part of what is tested) and Qt's
// French texts, as the program has them.

#include "startup.h"

#include <QtTest>

#define BRINDELOR_UI_TEST_MAIN(TestObject)                                    \
    int main(int argc, char** argv)                                           \
    {                                                                         \
        qputenv("LC_ALL", "fr_FR.UTF-8");                                     \
        qputenv("LANG", "fr_FR.UTF-8");                                       \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                   \
            qputenv("QT_QPA_PLATFORM", "offscreen");                          \
        brindelor::app::Application app(argc, argv);                           \
        brindelor::app::installFrenchTranslations(app);                        \
        QTEST_SET_MAIN_SOURCE_PATH                                            \
        TestObject test;                                                      \
        return QTest::qExec(&test, argc, argv);                               \
    }
