#include <gtest/gtest.h>

#include <QApplication>

#include "app/ChineseTranslation.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    installChineseTranslation(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
