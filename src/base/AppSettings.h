// The user's remembered dialog choices, persisted in QSettings under the
// property names. The table of properties drives both save and load, so a new
// property is a new row and nothing else.
#pragma once

#include <QString>
#include <mutex>
#include <optional>

class QSettings;

class AppSettings {
 public:
  // The one shared object, created (under a lock) on first use.
  static AppSettings& shareInstance();

  AppSettings();  // loads from the store; absent strings become ""

  void loadSettings() { autoLoad(); }
  void saveSettings() { autoSave(); }
  void autoLoad();
  void autoSave();

#define FOLIVOX_STRING_PROPERTY(name, setter)  \
  QString name() const {                       \
    std::lock_guard<std::mutex> lock(m_mutex); \
    return m_##name.value_or(QString());       \
  }                                            \
  void setter(std::optional<QString> v) {      \
    std::lock_guard<std::mutex> lock(m_mutex); \
    m_##name = std::move(v);                   \
  }
#define FOLIVOX_INT_PROPERTY(name, setter) \
  qint32 name() const { return m_##name; } \
  void setter(qint32 v) { m_##name = v; }

  FOLIVOX_STRING_PROPERTY(lastImportedFile, setLastImportedFile)
  FOLIVOX_INT_PROPERTY(importPageRangeType, setImportPageRangeType)
  FOLIVOX_STRING_PROPERTY(importPageRange, setImportPageRange)
  FOLIVOX_INT_PROPERTY(importQualityLevel, setImportQualityLevel)
  FOLIVOX_STRING_PROPERTY(lastOutputFileFolder, setLastOutputFileFolder)
  FOLIVOX_STRING_PROPERTY(lastOutputFileName, setLastOutputFileName)
  FOLIVOX_STRING_PROPERTY(lastOutputFileTitle, setLastOutputFileTitle)
  FOLIVOX_INT_PROPERTY(outputType, setOutputType)
  FOLIVOX_INT_PROPERTY(importBookmark, setImportBookmark)
  FOLIVOX_INT_PROPERTY(importLinks, setImportLinks)
  FOLIVOX_INT_PROPERTY(importText, setImportText)
  FOLIVOX_INT_PROPERTY(importZoomPictures, setImportZoomPictures)
  // 0 auto, 1 WebP, 2 JPEG (PictureFormats::fromSetting).
  FOLIVOX_INT_PROPERTY(importPictureFormat, setImportPictureFormat)
#undef FOLIVOX_STRING_PROPERTY
#undef FOLIVOX_INT_PROPERTY

  // The JPEG quality for an import quality level (0..4); 100 for anything else.
  static qint32 qualityForLevel(qint32 level);

 private:
  struct Row;
  static const Row* rows(size_t& count);

  mutable std::mutex m_mutex;
  std::optional<QString> m_lastImportedFile;
  qint32 m_importPageRangeType = 0;
  std::optional<QString> m_importPageRange;
  qint32 m_importQualityLevel = 0;
  std::optional<QString> m_lastOutputFileFolder;
  std::optional<QString> m_lastOutputFileName;
  std::optional<QString> m_lastOutputFileTitle;
  qint32 m_outputType = 0;
  qint32 m_importBookmark = 0;
  qint32 m_importLinks = 0;
  // On until the user turns them off.
  qint32 m_importText = 1;
  qint32 m_importZoomPictures = 1;
  qint32 m_importPictureFormat = 0;
  // Persisted and loaded with the rest; nothing else reads them.
  qint32 m_PageWidth = 0;
  qint32 m_PageHeight = 0;
};
