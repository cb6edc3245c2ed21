#include "support/window_fixture.h"

#include <QDir>
#include <QScrollArea>
#include <QScrollBar>

namespace test_support {

window::MainWindow& WindowTest::Restart() {
  window_.reset();
  window_ = std::make_unique<window::MainWindow>(services);
  window_->start();
  return *window_;
}

QString StoreFile() {
  return QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath(QStringLiteral("Quillon/Quillon.conf"));
}

std::vector<int> DarkLightRuns(const QImage& image, int row) {
  std::vector<int> runs;
  bool dark = false;
  for (int x = 0; x < image.width(); ++x) {
    const bool d = qGray(image.pixel(x, row)) < 128;
    if (runs.empty() && !d) continue;
    if (runs.empty() || d != dark) runs.push_back(0);
    dark = d;
    ++runs.back();
  }
  if (!runs.empty() && !dark) runs.pop_back();  // the light run after the last bar
  return runs;
}

QStringList LayoutProblems(QWidget* root) {
  const auto caption = [](QWidget* w) {
    const auto* b = qobject_cast<QAbstractButton*>(w);
    const auto* l = qobject_cast<QLabel*>(w);
    const auto* g = qobject_cast<QGroupBox*>(w);
    return b ? b->text() : l ? l->text() : g ? g->title() : QString();
  };
  const auto name = [&](QWidget* w) { return QStringLiteral("%1 \"%2\"").arg(w->metaObject()->className(), caption(w)); };
  QList<QWidget*> controls;  // the window's own, not the inner parts of composite widgets
  for (QWidget* w : root->findChildren<QWidget*>()) {
    bool inner = !w->isVisibleTo(root) || w->isWindow() || qobject_cast<QScrollBar*>(w);
    if (auto* l = qobject_cast<QLabel*>(w); l && l->text().isEmpty()) inner = true;
    for (QWidget* p = w->parentWidget(); p && p != root; p = p->parentWidget()) {
      const auto* area = qobject_cast<QScrollArea*>(p);
      const bool content = area && area->widget() && (area->widget() == w || area->widget()->isAncestorOf(w));
      inner = inner || qobject_cast<QComboBox*>(p) || qobject_cast<QLineEdit*>(p) || (qobject_cast<QAbstractScrollArea*>(p) && !content);
    }
    if (!inner) controls << w;
  }
  QStringList problems;
  for (QWidget* w : controls) {
    const QFontMetrics fm(w->font());
    QWidget* parent = w->parentWidget();
    if (!parent->rect().contains(w->geometry()) && !qobject_cast<QAbstractScrollArea*>(parent->parentWidget()))
      problems << name(w) + " reaches out of its container";
    const QString text = caption(w);
    if (auto* c = dynamic_cast<window::CheckBox*>(w); c && c->WrapsCaption()) {
      const QRect room = c->CaptionRect();
      if (!room.contains(fm.boundingRect(room, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, text)))
        problems << name(w) + " has its wrapped caption cut";
    } else if (const int needed = std::max(w->sizeHint().width(), w->minimumSizeHint().width());
               !text.isEmpty() && needed > w->width()) {
      problems << name(w) + QStringLiteral(" needs %1 px, has %2").arg(needed).arg(w->width());
    }
    if (qobject_cast<QLabel*>(w)) {
      for (qsizetype i = 0, end = 0; i < text.size(); i = end + 1) {
        end = text.indexOf(' ', i);
        if (end < 0) end = text.size();
        if (end == i) continue;
        const int x = w->x() + w->contentsRect().x() + fm.horizontalAdvance(text.left(i));
        const int y = w->y() + w->contentsRect().y() + (w->contentsRect().height() - fm.height()) / 2;
        const QRect word(x, y, fm.horizontalAdvance(text.mid(i, end - i)), fm.height());
        for (QWidget* s : controls)
          if (s != w && s->parentWidget() == parent && s->geometry().intersects(word))
            problems << name(w) + QStringLiteral(": \"%1\" at x %2-%3 is under ").arg(text.mid(i, end - i)).arg(word.left()).arg(word.right()) + name(s) + QStringLiteral(" at x %1-%2").arg(s->x()).arg(s->geometry().right());
      }
      continue;
    }
    // A frame may lie on an empty part of a larger one (the offsets on the
    // settings panel), covering none of its controls.
    const auto liesOnEmptyPart = [&](QWidget* small, QWidget* large) {
      if (!large->geometry().contains(small->geometry())) return false;
      for (QWidget* c : controls)
        if (c->parentWidget() == large && c->geometry().translated(large->pos()).intersects(small->geometry()))
          return false;
      return true;
    };
    for (QWidget* s : controls)
      if (s < w && s->parentWidget() == parent && !qobject_cast<QLabel*>(s) &&
          s->geometry().intersects(w->geometry()) && !liesOnEmptyPart(s, w) && !liesOnEmptyPart(w, s))
        problems << name(w) + " and " + name(s) + " overlap";
  }
  return problems;
}

}  // namespace test_support
