#include "maintenance/Converter.h"

#include <QDir>

#include "common/Messages.h"

QString ConverterMaintenance::readMeText() {
    return QStringLiteral("使用中日文版数据变换功能，可以避免数据重复录入，提高工作效率。");
}

QString ConverterMaintenance::questionText() {
    return QStringLiteral("单击“中文版数据导出”，将录入的数据导出供日文版系统导入用。") +
           Messages::kCrLf + QStringLiteral("单击“日文版数据导入”，将日文版数据导入本系统。");
}

bool ConverterMaintenance::cmdBackUp_Click() {
    const QString folder = host_.chooseBackupFolder();
    if (folder.isNull()) {
        return true;
    }
    host_.setBusy(true);
    LostCharacters lost;
    const bool written = exportConverterSet(QDir::cleanPath(folder) + u'/', lost);
    host_.setBusy(false);
    if (!written) {
        return false;
    }
    messages().information(QStringLiteral("数据导出成功！"));
    if (!lost.isEmpty()) {
        messages().exclamation(lostCharactersText(lost));
    }
    return true;
}

bool ConverterMaintenance::cmdConverter_Click() {
    const QString folder = host_.chooseBackupFolder();
    if (folder.isNull()) {
        return false;
    }
    host_.setBusy(true);
    host_.showMessageLabel(QStringLiteral("日 文 版 数 据 导 入 中 ！！"));
    const ConverterOutcome outcome =
        importConverterSet(QDir::cleanPath(folder) + u'/', host_.accountSetText(), characters);
    host_.setBusy(false);
    host_.showMessageLabel(QString());
    host_.focusBack();
    if (outcome == ConverterOutcome::Imported) {
        host_.refreshCaption();
    }
    return outcome == ConverterOutcome::Imported;
}

void ConverterMaintenance::cmdQuestion_Click() {
    messages().help(MsgIcon::None, questionText(), QStringLiteral("converter"));
}
