// Undo and redo of changes to the template's values. Each step is one
// committed change, however many values it touched (one edited property, an
// applied style, an imported settings file), kept as the template's state
// before and after. Undoing a step within the same template restores only the
// values that step changed, so changes made outside the history (the page size
// of an import) survive; undoing a template switch loads the old template back.
#pragma once

#include <QList>
#include <QString>
#include <optional>
#include <vector>

class FlashTemplate;

// What the history keeps of a template: its name, style and every value in
// tree order (depth-first, document order).
struct TemplateState {
  QString tmplName;
  std::optional<QString> styleName;
  QList<std::optional<QString>> values;

  static TemplateState of(const FlashTemplate& tmpl);
  bool operator==(const TemplateState& other) const = default;
};

class TemplateEditHistory {
 public:
  static constexpr size_t kMaxSteps = 200;

  // Forgets every step; `tmpl` as it is now is the saved state.
  void reset(const FlashTemplate& tmpl);
  // Takes `tmpl` as the current state without making a step (it was changed
  // by something that is not undoable).
  void rebase(const FlashTemplate& tmpl);
  // Makes one step from the last known state to `tmpl` as it is now, dropping
  // the steps that were undone. False, and no step, when nothing changed.
  bool record(const FlashTemplate& tmpl, const QString& label);

  bool canUndo() const { return m_applied > 0; }
  bool canRedo() const { return m_applied < m_steps.size(); }
  // The label of the step that undo() or redo() would apply ("" when none).
  QString undoLabel() const;
  QString redoLabel() const;
  // Applies the step; false when there is none.
  bool undo(FlashTemplate& tmpl);
  bool redo(FlashTemplate& tmpl);

  // The saved state: published or exported. isClean() is true while the
  // values are those of that state, also after undoing back to it.
  bool isClean() const { return m_clean == m_applied; }
  void setClean() { m_clean = m_applied; }

 private:
  struct Step {
    TemplateState before;
    TemplateState after;
    QString label;
  };
  void apply(FlashTemplate& tmpl, const TemplateState& from, const TemplateState& to);

  std::vector<Step> m_steps;
  size_t m_applied = 0;
  // Index of the saved state among the steps; no value once it was dropped.
  std::optional<size_t> m_clean = 0;
  TemplateState m_current;
};
