#pragma once

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>

// Compares text with the golden file tests/<folder>/golden/<name>.txt, line by line;
// OMBREL_UPDATE_GOLDEN=1 rewrites it after an intended change (review the diff).
inline void expectGoldenText(const QString& folder, const QString& name, const QString& actual) {
    const QString path = QStringLiteral(OMBREL_TESTS_DIR "/%1/golden/%2.txt").arg(folder, name);
    QFile file(path);
    if (qEnvironmentVariableIntValue("OMBREL_UPDATE_GOLDEN") == 1) {
        QDir().mkpath(QFileInfo(path).path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(actual.toUtf8());
        return;
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    const QStringList expected = QString::fromUtf8(file.readAll()).split(u'\n');
    const QStringList lines = actual.split(u'\n');
    for (int i = 0; i < std::max(expected.size(), lines.size()); ++i) {
        ASSERT_EQ(lines.value(i), expected.value(i)) << name.toStdString() << " line " << i + 1;
    }
}
