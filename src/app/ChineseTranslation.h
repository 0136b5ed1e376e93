#pragma once

class QCoreApplication;

// Loads Qt's own Chinese texts for standard buttons and dialogs ("确定", "取消", "是", "否"),
// whatever the system language: every message of the program says 单击“确定”. Returns false when
// the translation file is not installed.
bool installChineseTranslation(QCoreApplication& app);
