// change_probe: another workstation for the requery tests. Opens a database
// and runs each statement given on the command line, in one transaction.
//
//   change_probe CONNECTION STATEMENT...

#include <QCoreApplication>
#include <QStringList>
#include <iostream>

#include "host/db/Connection.h"
#include "host/db/DbError.h"

int main(int argc, char* argv[]) {
  const QCoreApplication application(argc, argv);  // the SQL drivers are plugins
  const QStringList arguments = QCoreApplication::arguments().mid(1);
  if (arguments.size() < 2) {
    std::cerr << "usage: change_probe CONNECTION STATEMENT..." << std::endl;
    return 2;
  }
  try {
    qalvoro::Connection connection;
    connection.open(arguments.first());
    qalvoro::Transaction transaction(connection);
    for (const QString& statement : arguments.mid(1)) connection.execute(statement);
    transaction.commit();
  } catch (const qalvoro::DbError& error) {
    std::cerr << "Err:" << error.number() << '\n' << error.description().toStdString() << std::endl;
    return 1;
  }
  return 0;
}
