// The link areas of a book: the pagesAnnos element that the publisher puts
// into every book.xml, and the files those links need.
// The "Flash" in the name is historical and means nothing today (docs/NAMES.md).
#pragma once

#include <QStringList>
#include <memory>
#include <pugixml.hpp>

class FlashPagesAnnotations {
 public:
  FlashPagesAnnotations();
  virtual ~FlashPagesAnnotations();
  FlashPagesAnnotations(const FlashPagesAnnotations&) = delete;
  FlashPagesAnnotations& operator=(const FlashPagesAnnotations&) = delete;

  const QStringList& needFiles() const { return iNeedFiles; }
  void setNeedFiles(const QStringList& files) { iNeedFiles = files; }

  // The pagesAnnos element, or a null node when there is none. It belongs to
  // this object; the publisher appends a copy of it to each book.xml.
  pugi::xml_node pagesAnnotationsNode() const;
  // Replaces the fragment with a copy of `node`; a null node removes it.
  void setPagesAnnotationsNode(const pugi::xml_node& node);

 protected:
  // Drops the old fragment and starts an empty pagesAnnos element.
  pugi::xml_node resetPagesAnnotationsNode();

  QStringList iNeedFiles;
  std::unique_ptr<pugi::xml_document> iPagesAnnotationsNode;
};
