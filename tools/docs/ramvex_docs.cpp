// Builds the help documents: the user's manual and the technical manual as
// PDF and HTML from their Markdown chapters, the contents page, and the
// verification chapter, whose numbers come from running the analysis.
//
//   ramvex-docs verify RUNNER WORK_FOLDER OUT.md [DESIGN EXAMPLE.rv5d...]
//   ramvex-docs manual OUT_BASE TITLE CHAPTER.md...   (writes OUT_BASE.pdf and OUT_BASE.html)
//   ramvex-docs contents OUT.html TITLE USERS.md... -- TECHNICAL.md...

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QUrl>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextFragment>
#include <QTextTable>
#include <QTextStream>

#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>
#include <vector>

// Fontconfig keeps its caches to the end of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace {

QString ReadText(const QString& path, bool* ok) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
    *ok = false;
    return {};
  }
  return QString::fromUtf8(f.readAll());
}

bool WriteText(const QString& path, const QString& text) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return f.write(text.toUtf8()) >= 0;
}

QString Num(double v, int digits = 5) { return QString::number(v, 'g', digits); }

// ---------------------------------------------------------------------------
// Verification cases: each case writes its own data file, so the numbers of
// the problem are stated once, here, and printed in the chapter.

struct TNodeResult {
  double Depth = 0, Deflection = 0, Slope = 0, Moment = 0, Shear = 0, Reaction = 0;
};

struct TCheck {
  QString Quantity;
  QString Formula;
  double Reference = 0;
  std::function<double(const std::vector<TNodeResult>&)> Program;
  double Tolerance = 0.01;  // relative
};

struct TCase {
  QString Name;
  QString Title;
  QString Description;
  QString DataFile;
  std::vector<TCheck> Checks;
};

// Cantilever fixed at its toe (deflection and slope imposed at station N),
// loaded at its top by a lateral force P. US customary units.
TCase CantileverTipLoad() {
  const int n = 60;
  const double h = 6, ei = 5.336e9, p = 1000;
  const double l = n * h;
  TCase c;
  c.Name = "cantilever_tip_load";
  c.Title = "Cantilever under a lateral load at its top";
  c.Description = QString("Wall of length L = %1 in (%2 increments of %3 in), EI = %4 lb-in^2, fixed at the toe "
                          "(deflection and slope imposed zero), lateral load P = %5 lb at the top; no soil.")
                      .arg(Num(l)).arg(n).arg(Num(h)).arg(Num(ei)).arg(Num(p));
  c.DataFile = QString(
                   "Cantilever under a lateral load at its top\n"
                   "1\t1\t1\t0\t0\t0\t0\t0\t0\t0\n"
                   "%1\t%2\t100\t1E-6\t%3\t12\n"
                   "3\t%1\t0\t0\n"
                   "0\t%1\t1\t%4\n"
                   "1\n"
                   "1\t0\t0\t%5\t0\t0\n"
                   "0\n"
                   "0\n")
                   .arg(n).arg(Num(h, 10)).arg(Num(l, 10)).arg(Num(ei, 10)).arg(Num(p, 10));
  c.Checks.push_back({"top deflection (in)", "P L^3 / (3 EI)", p * l * l * l / (3 * ei),
                      [](const std::vector<TNodeResult>& r) { return std::fabs(r.front().Deflection); }, 0.005});
  c.Checks.push_back({"top slope (rad)", "P L^2 / (2 EI)", p * l * l / (2 * ei),
                      [](const std::vector<TNodeResult>& r) { return std::fabs(r.front().Slope); }, 0.01});
  c.Checks.push_back({"moment at mid-height (lb-in)", "P L / 2", p * l / 2,
                      [](const std::vector<TNodeResult>& r) { return std::fabs(r[r.size() / 2].Moment); }, 0.01});
  c.Checks.push_back({"shear at mid-height (lb)", "P", p,
                      [](const std::vector<TNodeResult>& r) { return std::fabs(r[r.size() / 2].Shear); }, 0.01});
  return c;
}

// The same cantilever loaded at its top by a moment M.
TCase CantileverTipMoment() {
  const int n = 60;
  const double h = 6, ei = 5.336e9, m = 1e5;
  const double l = n * h;
  TCase c;
  c.Name = "cantilever_tip_moment";
  c.Title = "Cantilever under a moment at its top";
  c.Description = QString("The same wall (L = %1 in, EI = %2 lb-in^2, fixed at the toe) under a moment "
                          "M = %3 lb-in at its top.")
                      .arg(Num(l)).arg(Num(ei)).arg(Num(m));
  c.DataFile = QString(
                   "Cantilever under a moment at its top\n"
                   "1\t1\t1\t0\t0\t0\t0\t0\t0\t0\n"
                   "%1\t%2\t100\t1E-6\t%3\t12\n"
                   "3\t%1\t0\t0\n"
                   "0\t%1\t1\t%4\n"
                   "1\n"
                   "1\t0\t0\t0\t%5\t0\n"
                   "0\n"
                   "0\n")
                   .arg(n).arg(Num(h, 10)).arg(Num(l, 10)).arg(Num(ei, 10)).arg(Num(m, 10));
  c.Checks.push_back({"top deflection (in)", "M L^2 / (2 EI)", m * l * l / (2 * ei),
                      [](const std::vector<TNodeResult>& r) { return std::fabs(r.front().Deflection); }, 0.01});
  c.Checks.push_back({"top slope (rad)", "M L / EI", m * l / ei,
                      [](const std::vector<TNodeResult>& r) { return std::fabs(r.front().Slope); }, 0.01});
  c.Checks.push_back({"moment at mid-height (lb-in)", "M", m,
                      [](const std::vector<TNodeResult>& r) { return std::fabs(r[r.size() / 2].Moment); }, 0.01});
  return c;
}

// A long free wall on uniform linear springs (a beam on an elastic
// foundation of modulus k) loaded at its top by P.
TCase ElasticFoundation() {
  const int n = 120;
  const double h = 6, ei = 5.336e9, p = 1000, k = 1000;
  const double l = n * h;
  const double beta = std::pow(k / (4 * ei), 0.25);
  TCase c;
  c.Name = "elastic_foundation";
  c.Title = "Beam on an elastic foundation, load at its end";
  c.Description = QString("Free wall of length L = %1 in, EI = %2 lb-in^2, on linear springs of modulus "
                          "k = %3 lb/in per inch of wall (a spring of k h = %4 lb/in at every station), lateral "
                          "load P = %5 lb at the top. beta = (k / 4EI)^(1/4) = %6 1/in; beta L = %7, so the wall "
                          "acts as a semi-infinite beam.")
                      .arg(Num(l)).arg(Num(ei)).arg(Num(k)).arg(Num(k * h)).arg(Num(p)).arg(Num(beta, 4))
                      .arg(Num(beta * l, 3));
  c.DataFile = QString(
                   "Beam on an elastic foundation, load at its end\n"
                   "1\t0\t1\t0\t0\t0\t0\t0\t0\t0\n"
                   "%1\t%2\t100\t1E-6\t0\t12\n"
                   "0\t%1\t1\t%3\n"
                   "1\n"
                   "1\t0\t0\t%4\t0\t0\n"
                   "1\n"
                   "0\t%1\t1\t%5\t0\n"
                   "0\n")
                   .arg(n).arg(Num(h, 10)).arg(Num(ei, 10)).arg(Num(p, 10)).arg(Num(k * h, 10));
  c.Checks.push_back({"top deflection (in)", "2 P beta / k", 2 * p * beta / k,
                      [](const std::vector<TNodeResult>& r) { return std::fabs(r.front().Deflection); }, 0.01});
  c.Checks.push_back({"largest moment (lb-in)", "(P / beta) exp(-pi/4) sin(pi/4)",
                      p / beta * std::exp(-std::numbers::pi / 4) * std::sin(std::numbers::pi / 4),
                      [](const std::vector<TNodeResult>& r) {
                        double m = 0;
                        for (const TNodeResult& x : r) m = std::max(m, std::fabs(x.Moment));
                        return m;
                      },
                      0.01});
  return c;
}

// Reads NAME-results.csv: one row per node and problem, the numbers in the
// last six columns (the problem's title comes first and may be quoted);
// forces in kips are turned into pounds. The first problem's rows only.
bool ReadResults(const QString& path, std::vector<TNodeResult>* rows) {
  bool ok = true;
  const QString text = ReadText(path, &ok);
  if (!ok) return false;
  const QStringList lines = text.split('\n', Qt::SkipEmptyParts);
  if (lines.size() < 2) return false;
  const QStringList header = lines.front().split(',');
  if (header.size() < 7) return false;
  double scale[6];
  for (int k = 0; k < 6; ++k) scale[k] = header[header.size() - 6 + k].contains("kips") ? 1000.0 : 1.0;
  QString firstProblem;
  for (int i = 1; i < lines.size(); ++i) {
    const QStringList f = lines[i].split(',');
    if (f.size() < 7) continue;
    const QString problem = f.mid(0, f.size() - 6).join(',');
    if (firstProblem.isEmpty()) firstProblem = problem;
    if (problem != firstProblem) break;
    TNodeResult r;
    double* dest[6] = {&r.Depth, &r.Deflection, &r.Slope, &r.Moment, &r.Shear, &r.Reaction};
    for (int k = 0; k < 6; ++k) *dest[k] = f[f.size() - 6 + k].trimmed().toDouble() * scale[k];
    rows->push_back(r);
  }
  return !rows->empty();
}

// The mesh check of the design tool on a bundled example: the wall at its
// increment h and at h/2; the table rows come from its CSV file.
bool MeshCheck(const QString& design, const QString& example, const QString& work, QTextStream& s) {
  const QString name = QFileInfo(example).completeBaseName();
  const QString csv = QDir(work).filePath(name + "-mesh.csv");
  QProcess run;
  run.setStandardOutputFile(QProcess::nullDevice());
  run.setStandardErrorFile(QProcess::nullDevice());
  run.start(design, {"mesh", "-j", "1", "--csv", csv, example});
  if (!run.waitForFinished(120000) || run.exitStatus() != QProcess::NormalExit) return false;
  bool ok = true;
  const QStringList lines = ReadText(csv, &ok).split('\n', Qt::SkipEmptyParts);
  if (!ok || lines.size() < 4) return false;
  const QStringList units = lines[0].split(',');
  const QStringList header = lines[1].split(',');
  const QStringList coarse = lines[2].split(',');
  const QStringList fine = lines[3].split(',');
  s << "### " << name << "\n\n"
    << "| result | unit | h | h/2 | change | increments |\n|---|---|---|---|---|---|\n";
  if (units.size() < 7 || coarse.size() != header.size() || fine.size() != header.size()) return false;
  const struct {
    const char* Column;
    int Unit;
  } results[] = {{"Top deflection", 3}, {"Max moment", 4}, {"Max shear", 5}};
  double largest = 0;
  for (const auto& r : results) {
    const int c = header.indexOf(r.Column);
    if (c < 0) return false;
    const double a = coarse[c].toDouble(), b = fine[c].toDouble();
    const double change = b != 0 ? 100 * std::fabs(a - b) / std::fabs(b) : 0;
    s << "| " << r.Column << " | " << units[r.Unit] << " | " << coarse[c] << " | " << fine[c] << " | "
      << QString::number(change, 'f', 2) << " % | " << coarse[1] << " / " << fine[1] << " |\n";
    largest = std::max(largest, change);
  }
  s << "\n"
    << (largest < 2 ? QString("Every result changes by less than 2 %: the mesh of %1 increments is adequate.")
                          .arg(coarse[1])
                    : QString("A result changes by %1 %: the check advises the finer mesh of %2 increments.")
                          .arg(QString::number(largest, 'f', 2), fine[1]))
    << "\n\n";
  return true;
}

int Verify(const QString& runner, const QString& work, const QString& out, const QString& design,
           const QStringList& examples) {
  QDir().mkpath(work);
  const std::vector<TCase> cases = {CantileverTipLoad(), CantileverTipMoment(), ElasticFoundation()};
  QString md;
  QTextStream s(&md);
  s << "# Verification\n\n"
    << "The cases below are analysed by the command-line runner each time this manual is built; "
    << "the program's numbers are read from its CSV results (four significant digits) and printed "
    << "beside the closed-form reference. Depths are below the top of the wall; magnitudes are compared, "
    << "whatever the sign convention. The build fails when a difference exceeds the tolerance given, and a test "
    << "analyses the cases again and compares every number printed here with the program's output.\n\n";
  int failures = 0;
  for (const TCase& c : cases) {
    const QString data = QDir(work).filePath(c.Name + ".rv5d");
    const QString outDir = QDir(work).filePath(c.Name);
    QDir().mkpath(outDir);
    if (!WriteText(data, QString(c.DataFile).replace("\n", "\r\n"))) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(data));
      return 1;
    }
    QProcess run;
    run.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    run.start(runner, {"--csv", "-o", outDir, data});
    if (!run.waitForFinished(60000) || run.exitStatus() != QProcess::NormalExit || run.exitCode() != 0) {
      std::fprintf(stderr, "%s: the analysis of %s failed\n", qPrintable(runner), qPrintable(data));
      return 1;
    }
    std::vector<TNodeResult> rows;
    if (!ReadResults(QDir(outDir).filePath(c.Name + "-results.csv"), &rows)) {
      std::fprintf(stderr, "cannot read the results of %s\n", qPrintable(c.Name));
      return 1;
    }
    s << "## " << c.Title << "\n\n" << c.Description << "\n\n";
    s << "| quantity | reference formula | reference | program | difference | tolerance |\n";
    s << "|---|---|---|---|---|---|\n";
    for (const TCheck& k : c.Checks) {
      const double prog = k.Program(rows);
      const double diff = (prog - k.Reference) / k.Reference;
      const bool ok = std::fabs(diff) <= k.Tolerance;
      if (!ok) ++failures;
      s << "| " << k.Quantity << " | " << k.Formula << " | " << Num(k.Reference) << " | " << Num(prog) << " | "
        << QString::number(100 * diff, 'f', 2) << " % | " << QString::number(100 * k.Tolerance, 'f', 1)
        << " % |\n";
      if (!ok)
        std::fprintf(stderr, "%s, %s: program %g, reference %g\n", qPrintable(c.Name), qPrintable(k.Quantity), prog,
                     k.Reference);
    }
    s << "\n";
  }
  s << "The differences come from the finite-difference form of the beam-column equation, whose error "
       "shrinks with the square of the increment length, and from the rounding of the results file.\n";
  s << "\n";
  if (!design.isEmpty()) {
    s << "## Mesh convergence\n\n"
      << "The mesh check of `ramvex-design mesh` analyses each bundled example with its increment length h "
      << "and with h/2 and compares the results. The check calls a mesh adequate when every result changes by "
      << "less than 2 %.\n\n";
    for (const QString& e : examples) {
      if (!MeshCheck(design, e, work, s)) {
        std::fprintf(stderr, "the mesh check of %s failed\n", qPrintable(e));
        return 1;
      }
    }
    s << "\n";
  }
  s.flush();
  if (!WriteText(out, md)) return 1;
  return failures == 0 ? 0 : 1;
}

// ---------------------------------------------------------------------------
// Documents.

QString JoinChapters(const QStringList& files, bool* ok) {
  QString all;
  for (const QString& f : files) {
    all += ReadText(f, ok);
    all += "\n\n";
  }
  return all;
}

// Every chapter after the title page starts on a new page; tables take the
// width of the page.
void Layout(QTextDocument* doc) {
  QTextCursor cursor(doc);
  int chapters = 0;
  for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
    if (b.blockFormat().headingLevel() != 1) continue;
    if (++chapters <= 2) continue;  // the title and the first chapter share the first page
    QTextBlockFormat f = b.blockFormat();
    f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    cursor.setPosition(b.position());
    cursor.setBlockFormat(f);
  }
  // Pictures of the program take the width of the text.
  const double width = 440;
  for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
    for (QTextBlock::iterator it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (!fragment.charFormat().isImageFormat()) continue;
      QTextImageFormat f = fragment.charFormat().toImageFormat();
      // The printed copy of the document loads the picture again: by its full name.
      const QString file = QDir(doc->baseUrl().toLocalFile()).absoluteFilePath(f.name());
      const QImage image(file);
      if (image.isNull() || image.width() <= 0) continue;
      f.setName(file);
      f.setWidth(width);
      f.setHeight(width * image.height() / image.width());
      cursor.setPosition(fragment.position());
      cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
      cursor.setCharFormat(f);
    }
  }
  for (QTextFrame::iterator it = doc->rootFrame()->begin(); !it.atEnd(); ++it) {
    if (QTextTable* table = qobject_cast<QTextTable*>(it.currentFrame())) {
      QTextTableFormat f = table->format();
      f.setWidth(QTextLength(QTextLength::PercentageLength, 100));
      f.setCellPadding(3);
      f.setBorderCollapse(true);
      table->setFormat(f);
    }
  }
}

int Manual(const QString& base, const QString& title, const QStringList& chapters) {
  bool ok = true;
  QString markdown = "# " + title + "\n\n" + JoinChapters(chapters, &ok);
  // A picture of the program is shown when the build made it (beside the
  // document); its line is left out otherwise.
  const QDir folder = QFileInfo(base).absoluteDir();
  static const QRegularExpression picture("^[ \t]*!\\[[^\\]]*\\]\\(([^)]+)\\)\\s*$", QRegularExpression::MultilineOption);
  for (auto it = picture.globalMatch(markdown); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    if (!QFileInfo::exists(folder.filePath(m.captured(1)))) markdown.replace(m.captured(0), QString());
  }
  if (!ok) {
    std::fprintf(stderr, "cannot read a chapter of %s\n", qPrintable(title));
    return 1;
  }
  QTextDocument doc;
  QFont font("DejaVu Sans");
  font.setPointSizeF(10);
  // No shaping of the Latin text: no ligatures, so that the PDF's text is
  // searched and copied as it reads ("fl", not one ligature glyph).
  font.setStyleStrategy(QFont::PreferNoShaping);
  doc.setDefaultFont(font);
  doc.setDefaultStyleSheet("table { border-collapse: collapse; } th, td { padding: 3px; }");
  doc.setBaseUrl(QUrl::fromLocalFile(folder.absolutePath() + "/"));
  doc.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
  doc.setMetaInformation(QTextDocument::DocumentTitle, title);
  // The HTML keeps the pictures' names relative to the folder of the documents.
  if (!WriteText(base + ".html", doc.toHtml())) return 1;
  Layout(&doc);

  QPdfWriter pdf(base + ".pdf");
  pdf.setTitle(title);
  pdf.setCreator("RAMVEX");
  pdf.setPageSize(QPageSize(QPageSize::A4));
  pdf.setPageMargins(QMarginsF(20, 18, 20, 18), QPageLayout::Millimeter);
  pdf.setResolution(300);
  doc.print(&pdf);
  return 0;
}

QStringList Headings(const QStringList& files) {
  QStringList out;
  bool ok = true;
  static const QRegularExpression h1("^# (.+)$", QRegularExpression::MultilineOption);
  for (const QString& f : files) {
    const QString text = ReadText(f, &ok);
    auto it = h1.globalMatch(text);
    while (it.hasNext()) out << it.next().captured(1).trimmed();
  }
  return out;
}

int Contents(const QString& out, const QString& title, const QStringList& users, const QStringList& technical) {
  QString html;
  QTextStream s(&html);
  s << "<!DOCTYPE html>\n<html lang=\"en\">\n<head><meta charset=\"utf-8\"><title>" << title.toHtmlEscaped()
    << "</title></head>\n<body>\n<h1>" << title.toHtmlEscaped() << "</h1>\n";
  auto part = [&](const QString& name, const QString& base, const QStringList& files) {
    s << "<h2>" << name << "</h2>\n<p><a href=\"" << base << ".pdf\">PDF</a> &middot; <a href=\"" << base
      << ".html\">HTML</a></p>\n<ol>\n";
    for (const QString& h : Headings(files)) s << "<li>" << h.toHtmlEscaped() << "</li>\n";
    s << "</ol>\n";
  };
  part("User's Manual", "users-manual", users);
  part("Technical Manual", "technical-manual", technical);
  s << "</body>\n</html>\n";
  s.flush();
  return WriteText(out, html) ? 0 : 1;
}

int Usage() {
  std::fprintf(stderr,
               "usage: ramvex-docs verify RUNNER WORK_FOLDER OUT.md [DESIGN EXAMPLE.rv5d...]\n"
               "       ramvex-docs manual OUT_BASE TITLE CHAPTER.md...\n"
               "       ramvex-docs contents OUT.html TITLE USERS.md... -- TECHNICAL.md...\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments().mid(1);
  if (args.isEmpty()) return Usage();
  const QString command = args.front();
  if (command == "verify" && args.size() >= 4)
    return Verify(args[1], args[2], args[3], args.value(4), args.mid(5));
  if (command == "manual" && args.size() >= 4) return Manual(args[1], args[2], args.mid(3));
  if (command == "contents" && args.size() >= 3) {
    const int sep = args.indexOf("--");
    if (sep < 0) return Usage();
    return Contents(args[1], args[2], args.mid(3, sep - 3), args.mid(sep + 1));
  }
  return Usage();
}
