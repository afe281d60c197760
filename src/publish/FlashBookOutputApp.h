// Publishes a book inside an application bundle: D/Name.app/Contents/ holds a
// copy of the bundle skeleton and Resources/ the ordinary book folder.
//
// The bundle is one entry of D for the transaction: it is built whole in the
// staging folder and then takes the place of an earlier bundle of that name,
// so nothing of the earlier one remains, and a failed publish keeps it.
#pragma once

#include "publish/FlashBookOutput.h"

class FlashBookOutputApp : public FlashBookOutput {
 public:
  // `folder` is the target folder D, `name` the output name (Book.html gives Book.app).
  FlashBookOutputApp(std::shared_ptr<FlashPageSource> pageSource, std::shared_ptr<FlashTemplate> flashTemplate,
                     const QString& folder, const QString& name);

  // Makes D (with missing parents) when it does not exist, then publishes.
  void ouputTheBook() override;
  // The bundle itself.
  QString outputFileName() const override;
  // Always "index.html", whatever the name.
  QString htmlPageName() const override;

  // "Report.html" and "Report" give "Report.app"; "a.b.html" gives "a.b.app".
  static QString bundleNameFor(const QString& name);
  static QString skeletonFolder();

 protected:
  QString transactionFolder() const override;
  QStringList bookEntries() const override;
  void writeBook(const QString& staging) override;
};
