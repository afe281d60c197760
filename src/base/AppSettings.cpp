#include "base/AppSettings.h"

#include <QSettings>
#include <QVariant>

struct AppSettings::Row {
  const char* key;
  std::optional<QString> AppSettings::*str;
  qint32 AppSettings::*num;
};

const AppSettings::Row* AppSettings::rows(size_t& count) {
  // Declaration order is the order of saving and loading.
  static const Row table[] = {
      {"lastImportedFile", &AppSettings::m_lastImportedFile, nullptr},
      {"importPageRangeType", nullptr, &AppSettings::m_importPageRangeType},
      {"importPageRange", &AppSettings::m_importPageRange, nullptr},
      {"importQualityLevel", nullptr, &AppSettings::m_importQualityLevel},
      {"lastOutputFileFolder", &AppSettings::m_lastOutputFileFolder, nullptr},
      {"lastOutputFileName", &AppSettings::m_lastOutputFileName, nullptr},
      {"lastOutputFileTitle", &AppSettings::m_lastOutputFileTitle, nullptr},
      {"outputType", nullptr, &AppSettings::m_outputType},
      {"importBookmark", nullptr, &AppSettings::m_importBookmark},
      {"importLinks", nullptr, &AppSettings::m_importLinks},
      {"importText", nullptr, &AppSettings::m_importText},
      {"importZoomPictures", nullptr, &AppSettings::m_importZoomPictures},
      {"importPictureFormat", nullptr, &AppSettings::m_importPictureFormat},
      {"PageWidth", nullptr, &AppSettings::m_PageWidth},
      {"PageHeight", nullptr, &AppSettings::m_PageHeight},
  };
  count = std::size(table);
  return table;
}

AppSettings& AppSettings::shareInstance() {
  static AppSettings instance;  // thread-safe initialisation
  return instance;
}

AppSettings::AppSettings() {
  loadSettings();
  std::lock_guard<std::mutex> lock(m_mutex);
  for (auto* s : {&m_lastImportedFile, &m_importPageRange, &m_lastOutputFileFolder, &m_lastOutputFileName,
                  &m_lastOutputFileTitle})
    if (!*s) *s = QString();
}

void AppSettings::autoSave() {
  QSettings store(QStringLiteral("Folivox"), QStringLiteral("Folivox"));
  size_t n = 0;
  const Row* table = rows(n);
  std::lock_guard<std::mutex> lock(m_mutex);
  for (size_t i = 0; i < n; ++i) {
    const QString key = QString::fromLatin1(table[i].key);
    if (table[i].str != nullptr) {
      const std::optional<QString>& v = this->*table[i].str;
      if (!v) continue;  // an absent string cannot be stored: skip it
      store.setValue(key, *v);
    } else {
      store.setValue(key, this->*table[i].num);
    }
  }
  store.sync();
}

void AppSettings::autoLoad() {
  QSettings store(QStringLiteral("Folivox"), QStringLiteral("Folivox"));
  size_t n = 0;
  const Row* table = rows(n);
  std::lock_guard<std::mutex> lock(m_mutex);
  for (size_t i = 0; i < n; ++i) {
    const QString key = QString::fromLatin1(table[i].key);
    const QVariant v = store.value(key);
    if (table[i].str != nullptr) {
      this->*table[i].str = v.isValid() ? std::optional<QString>(v.toString()) : std::nullopt;
    } else if (v.isValid()) {
      bool ok = false;
      const int value = v.toInt(&ok);
      if (ok) this->*table[i].num = value;
    }
  }
}

qint32 AppSettings::qualityForLevel(qint32 level) {
  switch (level) {
    case 1:
      return 85;
    case 2:
      return 65;
    case 3:
      return 45;
    case 4:
      return 25;
    default:
      return 100;
  }
}
