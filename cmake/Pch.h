// Qt and standard headers that most of the project includes: compiled once
// per target as a precompiled header (the SQL and widget headers where the
// target uses those modules).
#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#if __has_include(<QSqlQuery>)
#include <QSqlQuery>
#include <QSqlRecord>
#endif

#if __has_include(<QWidget>)
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#endif

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>
