#include "templates/TemplateEditHistory.h"

#include "templates/FlashTemplate.h"

namespace {

// Depth-first in document order, without recursion.
template <typename Tree, typename F>
void forEachNode(const FlashTemplatePropertyList& top, F&& f) {
  std::vector<Tree*> stack;
  for (auto it = top.rbegin(); it != top.rend(); ++it) stack.push_back(it->get());
  while (!stack.empty()) {
    Tree* p = stack.back();
    stack.pop_back();
    f(*p);
    const auto& kids = p->childProperties();
    for (auto it = kids.rbegin(); it != kids.rend(); ++it) stack.push_back(it->get());
  }
}

// The page size belongs to the imported document, not to the look: a template
// switch keeps it, and so does undoing one.
const QString kKeptKeys[] = {QStringLiteral("pageWidth"), QStringLiteral("pageHeight")};

}  // namespace

TemplateState TemplateState::of(const FlashTemplate& tmpl) {
  TemplateState s;
  s.tmplName = tmpl.tmplName();
  s.styleName = tmpl.styleName();
  forEachNode<const FlashTemplateProperty>(tmpl.properties(),
                                           [&](const FlashTemplateProperty& p) { s.values.append(p.valueOpt()); });
  return s;
}

void TemplateEditHistory::reset(const FlashTemplate& tmpl) {
  m_steps.clear();
  m_applied = 0;
  m_clean = 0;
  m_current = TemplateState::of(tmpl);
}

void TemplateEditHistory::rebase(const FlashTemplate& tmpl) { m_current = TemplateState::of(tmpl); }

bool TemplateEditHistory::record(const FlashTemplate& tmpl, const QString& label) {
  TemplateState now = TemplateState::of(tmpl);
  if (now == m_current) return false;
  m_steps.resize(m_applied);
  if (m_clean && *m_clean > m_applied) m_clean.reset();  // the saved state was undone and is gone
  m_steps.push_back({m_current, now, label});
  if (m_steps.size() > kMaxSteps) {
    m_steps.erase(m_steps.begin());
    if (m_clean) m_clean = *m_clean == 0 ? std::nullopt : std::optional<size_t>(*m_clean - 1);
  }
  m_applied = m_steps.size();
  m_current = std::move(now);
  return true;
}

QString TemplateEditHistory::undoLabel() const { return canUndo() ? m_steps[m_applied - 1].label : QString(); }

QString TemplateEditHistory::redoLabel() const { return canRedo() ? m_steps[m_applied].label : QString(); }

bool TemplateEditHistory::undo(FlashTemplate& tmpl) {
  if (!canUndo()) return false;
  --m_applied;
  apply(tmpl, m_steps[m_applied].after, m_steps[m_applied].before);
  return true;
}

bool TemplateEditHistory::redo(FlashTemplate& tmpl) {
  if (!canRedo()) return false;
  apply(tmpl, m_steps[m_applied].before, m_steps[m_applied].after);
  ++m_applied;
  return true;
}

void TemplateEditHistory::apply(FlashTemplate& tmpl, const TemplateState& from, const TemplateState& to) {
  const bool sameTree = tmpl.tmplName() == to.tmplName && from.tmplName == to.tmplName;
  QList<QString> kept;
  if (!sameTree) {
    for (const QString& key : kKeptKeys) kept << tmpl.propertyValueFor(key, QString());
    tmpl.loadTemplate(to.tmplName);
  }
  qsizetype i = 0;
  forEachNode<FlashTemplateProperty>(tmpl.properties(), [&](FlashTemplateProperty& p) {
    if (i < to.values.size()) {
      // Within one tree only what the step changed; a reloaded tree gets everything.
      if (!sameTree || i >= from.values.size() || from.values[i] != to.values[i]) p.setValue(to.values[i]);
    }
    ++i;
  });
  if (!sameTree) {
    for (qsizetype k = 0; k < kept.size(); ++k)
      if (!kept[k].isEmpty()) tmpl.setPropertyValue(kKeptKeys[k], kept[k]);
  }
  tmpl.setStyleName(to.styleName);
  m_current = TemplateState::of(tmpl);
}
