#include "support/window_fixture.h"

#include <QDir>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleOptionGroupBox>

namespace test_support {

WindowTest::WindowTest() {
  settings.DeleteApplication(window::kApp);
  window_ = std::make_unique<window::MainWindow>(services);
  window_->start();
}

WindowTest::~WindowTest() {
  window_.reset();
  settings.DeleteApplication(window::kApp);
}

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
  bool started = false;
  bool dark = true;
  for (int x = 0; x < image.width(); ++x) {
    const bool d = qGray(image.pixel(x, row)) < 128;
    if (!started) {
      if (!d) continue;
      started = true;
      runs.push_back(0);
      dark = true;
    }
    if (d != dark) {
      runs.push_back(0);
      dark = d;
    }
    ++runs.back();
  }
  if (!runs.empty() && !dark) runs.pop_back();  // the light run after the last bar
  return runs;
}

QStringList LayoutProblems(QWidget* root) {
  QStringList problems;
  const auto name = [](QWidget* w) {
    const auto* b = qobject_cast<QAbstractButton*>(w);
    const auto* l = qobject_cast<QLabel*>(w);
    const auto* g = qobject_cast<QGroupBox*>(w);
    return QStringLiteral("%1 \"%2\"").arg(w->metaObject()->className(),
                                            b ? b->text() : l ? l->text() : g ? g->title() : QString());
  };
  // The window's own controls: not the inner parts of composite widgets.
  const auto isControl = [root](QWidget* w) {
    if (!w->isVisibleTo(root) || w->isWindow()) return false;
    if (auto* l = qobject_cast<QLabel*>(w); l && l->text().isEmpty()) return false;
    for (QWidget* p = w->parentWidget(); p && p != root; p = p->parentWidget())
      if (qobject_cast<QComboBox*>(p) || qobject_cast<QAbstractScrollArea*>(p) || qobject_cast<QLineEdit*>(p))
        return false;
    return !qobject_cast<QScrollBar*>(w);
  };
  QList<QWidget*> controls;
  for (QWidget* w : root->findChildren<QWidget*>())
    if (isControl(w)) controls << w;
  for (QWidget* w : controls) {
    const QFontMetrics fm(w->font());
    QWidget* parent = w->parentWidget();
    if (!parent->rect().contains(w->geometry()) && !qobject_cast<QAbstractScrollArea*>(parent->parentWidget()))
      problems << name(w) + " reaches out of its container";
    int needed = 0;
    if (auto* l = qobject_cast<QLabel*>(w)) {
      needed = fm.horizontalAdvance(l->text());
      const QString text = l->text();
      for (qsizetype i = 0; i < text.size();) {
        if (text[i] == ' ') { ++i; continue; }
        qsizetype end = text.indexOf(' ', i);
        if (end < 0) end = text.size();
        const int x = w->x() + w->contentsRect().x() + fm.horizontalAdvance(text.left(i));
        const int y = w->y() + w->contentsRect().y() + (w->contentsRect().height() - fm.height()) / 2;
        const QRect word(x, y, fm.horizontalAdvance(text.mid(i, end - i)), fm.height());
        for (QWidget* s : controls)
          if (s != w && s->parentWidget() == parent && s->geometry().intersects(word))
            problems << name(w) + QStringLiteral(": \"%1\" at x %2-%3 is under ").arg(text.mid(i, end - i)).arg(word.left()).arg(word.right()) + name(s) + QStringLiteral(" at x %1-%2").arg(s->x()).arg(s->geometry().right());
        i = end;
      }
    } else if (auto* p = qobject_cast<QPushButton*>(w)) {
      needed = fm.horizontalAdvance(p->text()) + 2 * w->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, w);
    } else if (auto* c = dynamic_cast<window::CheckBox*>(w); c && c->WrapsCaption()) {
      const QRect room = c->CaptionRect();
      const QRect wrapped = fm.boundingRect(room, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, c->text());
      if (!room.contains(wrapped)) problems << name(w) + " has its wrapped caption cut";
    } else if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
      needed = w->sizeHint().width();
    } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
      QStyleOptionGroupBox option;
      option.initFrom(g);
      option.text = g->title();
      option.subControls = QStyle::SC_GroupBoxLabel;
      const QRect label = g->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, g);
      if (label.right() >= g->width()) problems << name(w) + " has its title cut";
    }
    if (needed > w->width()) problems << name(w) + QStringLiteral(" needs %1 px, has %2").arg(needed).arg(w->width());
    if (qobject_cast<QLabel*>(w)) continue;
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

QStringList OutOfView(window::MainWindow& w) {
  QStringList out;
  QWidget* view = w.clientView->viewport();
  for (QWidget* c : w.Client->findChildren<QWidget*>()) {
    const bool control = qobject_cast<QAbstractButton*>(c) || qobject_cast<QLineEdit*>(c) || qobject_cast<QComboBox*>(c);
    const bool lower = w.settingsPanel->isAncestorOf(c) || w.offsetGroup->isAncestorOf(c);
    if (!control || !lower || !c->isVisibleTo(&w)) continue;
    const QRect place(c->mapTo(w.Client, QPoint()), c->size());
    w.clientView->ensureVisible(place.center().x(), place.center().y(), place.width() / 2 + 1, place.height() / 2 + 1);
    if (!view->rect().contains(QRect(c->mapTo(view, QPoint()), c->size())))
      out << QStringLiteral("%1 at %2,%3").arg(c->metaObject()->className()).arg(place.x()).arg(place.y());
  }
  return out;
}

}  // namespace test_support
