#include "file_filter.h"

namespace velmar {

namespace {

QStringList Patterns(const QString& patternList) {
  QStringList patterns;
  for (const QString& pattern : patternList.split(';', Qt::SkipEmptyParts)) {
    const QString trimmed = pattern.trimmed();
    if (trimmed == "*.*" || trimmed == "*") {
      patterns.append("*");
      continue;
    }
    for (const QString& variant : {trimmed.toLower(), trimmed.toUpper()}) {
      if (!patterns.contains(variant)) {
        patterns.append(variant);
      }
    }
  }
  return patterns;
}

// The description without its own pattern list in parentheses, which Qt would read instead.
QString Description(const QString& text) {
  const qsizetype open = text.lastIndexOf('(');
  return (open > 0 && text.endsWith(')') ? text.left(open) : text).trimmed();
}

}  // namespace

QStringList QtNameFilters(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size() && !parts[i].isEmpty(); i += 2) {
    filters.append(Description(parts[i]) + " (" + Patterns(parts[i + 1]).join(' ') + ")");
  }
  return filters;
}

}  // namespace velmar
