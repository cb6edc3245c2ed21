// The toolkit's floor for `quillon --export`: a bare QGuiApplication that
// paints one bar and one word and saves a PNG. bench/paired_runs.py times
// the export against it.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc < 2) return 2;
  QImage image(200, 60, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.fillRect(10, 5, 3, 40, Qt::black);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(11);
  painter.setFont(font);
  painter.drawText(QPointF(10, 55), QStringLiteral("Quillon"));
  painter.end();
  return image.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
