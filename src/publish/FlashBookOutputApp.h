// Publishes a book inside an application bundle: D/Name.app/Contents/ holds a
// copy of the bundle skeleton and Resources/ the ordinary book folder.
#pragma once

#include "publish/FlashBookOutput.h"

class FlashBookOutputApp : public FlashBookOutput {
 public:
  // `folder` is the target folder D, `name` the output name (Book.html gives Book.app).
  FlashBookOutputApp(std::shared_ptr<FlashPageSource> pageSource, std::shared_ptr<FlashTemplate> flashTemplate,
                     const QString& folder, const QString& name);

  void ouputTheBook() override;
  QString outputHTMLFileName() const override;
  // The bundle itself.
  QString outputFileName() const override;

  // "Report.html" and "Report" give "Report.app"; "a.b.html" gives "a.b.app".
  static QString bundleNameFor(const QString& name);
  static QString skeletonFolder();
};
