-- Version-2 database schema for SQLite, to be loaded into an empty
-- database. The same tables and columns, in the same order, as postgresql.sql.
-- See README.md for the conventions and defaults.

-- System settings: exactly one row.
-- CalndrType is the calendar of the date controls (0 Gregorian, 1 Hijri),
-- CalndrAutoChange the automatic-change flag handed to them.
CREATE TABLE SysInfo (
  ID               INTEGER PRIMARY KEY AUTOINCREMENT,
  CalndrType       INTEGER DEFAULT 0,
  CalndrAutoChange BOOLEAN NOT NULL DEFAULT FALSE
);

-- Table locks shared by every writer of the database: one row per lock
-- name, created with the database and only ever updated.
CREATE TABLE LockTables (
  ID        INTEGER PRIMARY KEY AUTOINCREMENT,
  TableName TEXT,
  fLocked   BOOLEAN NOT NULL DEFAULT FALSE
);
CREATE UNIQUE INDEX ix_locktables_tablename ON LockTables (TableName);

-- Branches (code table: ID, Arabic and English name).
CREATE TABLE Branch (
  ID    INTEGER PRIMARY KEY AUTOINCREMENT,
  AName TEXT,
  EName TEXT
);

-- Units of measure (code table).
CREATE TABLE Unit (
  ID    INTEGER PRIMARY KEY AUTOINCREMENT,
  AName TEXT,
  EName TEXT
);

-- Banks of cheque vouchers (code table, BankID -1 means none).
CREATE TABLE Bank (
  ID    INTEGER PRIMARY KEY AUTOINCREMENT,
  AName TEXT,
  EName TEXT
);

-- Chart of accounts, one row per account and branch.
-- AccNo is unique within a branch, ffather is the parent's AccNo, "_" for a
-- top-level account, Haves counts the direct sub-accounts, SubCardsID lists
-- the IDs of all descendants, comma-separated (a leaf holds its own ID).
-- debit and credit are 0/1 flags. ftype: 0 balance sheet, 1 profit and
-- loss, 2 trading.
CREATE TABLE CardAcc (
  ID          INTEGER PRIMARY KEY AUTOINCREMENT,
  BranchID    INTEGER,
  AccNo       TEXT,
  AccNameA    TEXT,
  AccNameE    TEXT,
  ffather     TEXT DEFAULT '_',
  ftype       INTEGER DEFAULT 0,
  debit       INTEGER DEFAULT 0,
  credit      INTEGER DEFAULT 0,
  MaxBalance  REAL DEFAULT 0,
  StartDebit  REAL DEFAULT 0,
  StartCredit REAL DEFAULT 0,
  Haves       INTEGER DEFAULT 0,
  SubCardsID  TEXT
);
CREATE UNIQUE INDEX ix_cardacc_branchid_accno ON CardAcc (BranchID, AccNo);
CREATE INDEX ix_cardacc_branchid_ffather ON CardAcc (BranchID, ffather, AccNo);
CREATE INDEX ix_cardacc_branchid_accnamea ON CardAcc (BranchID, AccNameA);

-- Journal entry headers. GaidType 3: imported entry. Debit and Credit are
-- the totals of the entry's lines.
CREATE TABLE Gaid (
  ID       INTEGER PRIMARY KEY AUTOINCREMENT,
  BranchID INTEGER,
  GaidNo   INTEGER,
  UserID   INTEGER,
  fDate    TEXT,
  fTime    TEXT,
  GaidType INTEGER,
  Debit    NUMERIC DEFAULT 0,
  Credit   NUMERIC DEFAULT 0
);
CREATE INDEX ix_gaid_branchid_gaidno ON Gaid (BranchID, GaidNo);

-- Journal entry lines. AccNoID is CardAcc.ID, BillType 8 marks an imported
-- journal line, whose BillNo holds the account number until it is linked.
CREATE TABLE GaidDetails (
  ID       INTEGER PRIMARY KEY AUTOINCREMENT,
  GaidID   INTEGER,
  AccNoID  INTEGER DEFAULT 0,
  Details  TEXT,
  BillDate TEXT,
  BillNo   TEXT,
  BillID   INTEGER DEFAULT 0,
  BillType INTEGER,
  Debit    NUMERIC DEFAULT 0,
  Credit   NUMERIC DEFAULT 0
);
CREATE INDEX ix_gaiddetails_gaidid ON GaidDetails (GaidID);
CREATE INDEX ix_gaiddetails_accnoid ON GaidDetails (AccNoID);
CREATE INDEX ix_gaiddetails_billno ON GaidDetails (BillNo);

-- Item classes, one row per class and branch. The AccID_ columns are the
-- CardAcc.ID of the accounts a class posts to: Cash, Credit and ToBill of
-- sales (_S), purchases (_B), sales returns (_SR), purchase returns (_BR).
CREATE TABLE Class (
  ID              INTEGER PRIMARY KEY AUTOINCREMENT,
  BranchID        INTEGER,
  fNo             INTEGER,
  AName           TEXT,
  EName           TEXT,
  AccID_Cash_S    INTEGER DEFAULT 0,
  AccID_Credit_S  INTEGER DEFAULT 0,
  AccID_ToBill_S  INTEGER DEFAULT 0,
  AccID_Cash_B    INTEGER DEFAULT 0,
  AccID_Credit_B  INTEGER DEFAULT 0,
  AccID_Cash_SR   INTEGER DEFAULT 0,
  AccID_Credit_SR INTEGER DEFAULT 0,
  AccID_ToBill_SR INTEGER DEFAULT 0,
  AccID_Cash_BR   INTEGER DEFAULT 0,
  AccID_Credit_BR INTEGER DEFAULT 0
);
CREATE INDEX ix_class_branchid_fno ON Class (BranchID, fNo);
CREATE INDEX ix_class_branchid_aname ON Class (BranchID, AName);

-- Items (stock cards), one row per item and branch, the key is CategoryID.
-- fType 0 goods, 1 service. U1 is the base unit (Unit.ID) with its rate and
-- prices, ProviderID -1 means no provider.
CREATE TABLE Category (
  CategoryID       INTEGER PRIMARY KEY AUTOINCREMENT,
  BranchID         INTEGER,
  CategoryNo       TEXT,
  AName            TEXT,
  EName            TEXT,
  ClassID          INTEGER,
  ProviderID       INTEGER,
  fType            INTEGER DEFAULT 0,
  AQuantity        REAL DEFAULT 0,
  RQuantity        REAL DEFAULT 0,
  IQuantity        REAL DEFAULT 0,
  RPoint           REAL DEFAULT 0,
  CostPrice        NUMERIC DEFAULT 0,
  Location         TEXT,
  JoinUnit         BOOLEAN NOT NULL DEFAULT FALSE,
  ShowJoinPrice    BOOLEAN NOT NULL DEFAULT FALSE,
  U1               INTEGER,
  RateU1           REAL DEFAULT 1,
  P1RateU1         REAL DEFAULT 0,
  P2RateU1         REAL DEFAULT 0,
  SPriceU1         NUMERIC DEFAULT 0,
  LSPriceU1        NUMERIC DEFAULT 0,
  WholeSalePriceU1 NUMERIC DEFAULT 0,
  MPriceU1         NUMERIC DEFAULT 0,
  ExtraData        TEXT
);
CREATE INDEX ix_category_categoryno ON Category (CategoryNo);
CREATE INDEX ix_category_branchid_categoryno ON Category (BranchID, CategoryNo);
CREATE INDEX ix_category_upper_categoryno ON Category (UPPER(CategoryNo));
CREATE INDEX ix_category_branchid_upper_categoryno ON Category (BranchID, UPPER(CategoryNo));

-- Customers, one row per customer and branch. AccNoID is the customer's own
-- account (CardAcc.ID), 0 when it has none, Debit grows with credit sales.
CREATE TABLE Customer (
  ID          INTEGER PRIMARY KEY AUTOINCREMENT,
  BranchID    INTEGER,
  fNo         INTEGER,
  AccNoID     INTEGER DEFAULT 0,
  AName       TEXT,
  EName       TEXT,
  APerson     TEXT,
  EPerson     TEXT,
  Phone       TEXT,
  Fax         TEXT,
  Mobile      TEXT,
  AAddress    TEXT,
  EAddress    TEXT,
  CountryID   INTEGER,
  CityID      INTEGER,
  PBox        TEXT,
  Zip         TEXT,
  EMail       TEXT,
  URL         TEXT,
  CreditDis   NUMERIC DEFAULT 0,
  CashDis     NUMERIC DEFAULT 0,
  ToBillDis   NUMERIC DEFAULT 0,
  StartDebit  NUMERIC DEFAULT 0,
  StartCredit NUMERIC DEFAULT 0,
  Debit       NUMERIC DEFAULT 0,
  Credit      NUMERIC DEFAULT 0,
  Balance     NUMERIC DEFAULT 0
);
CREATE INDEX ix_customer_branchid_fno ON Customer (BranchID, fNo);
CREATE INDEX ix_customer_accnoid ON Customer (AccNoID);

-- Providers (suppliers), one row per provider and branch, as Customer
-- without ToBillDis.
CREATE TABLE Provider (
  ID          INTEGER PRIMARY KEY AUTOINCREMENT,
  BranchID    INTEGER,
  fNo         INTEGER,
  AccNoID     INTEGER DEFAULT 0,
  AName       TEXT,
  EName       TEXT,
  APerson     TEXT,
  EPerson     TEXT,
  Phone       TEXT,
  Fax         TEXT,
  Mobile      TEXT,
  AAddress    TEXT,
  EAddress    TEXT,
  CountryID   INTEGER,
  CityID      INTEGER,
  PBox        TEXT,
  Zip         TEXT,
  EMail       TEXT,
  URL         TEXT,
  CreditDis   NUMERIC DEFAULT 0,
  CashDis     NUMERIC DEFAULT 0,
  StartDebit  NUMERIC DEFAULT 0,
  StartCredit NUMERIC DEFAULT 0,
  Debit       NUMERIC DEFAULT 0,
  Credit      NUMERIC DEFAULT 0,
  Balance     NUMERIC DEFAULT 0
);
CREATE INDEX ix_provider_branchid_fno ON Provider (BranchID, fNo);
CREATE INDEX ix_provider_branchid_aname ON Provider (BranchID, AName);
CREATE INDEX ix_provider_accnoid ON Provider (AccNoID);

-- Cash-box accounts of a branch: AccID is CardAcc.ID.
CREATE TABLE Cashier (
  ID       INTEGER PRIMARY KEY AUTOINCREMENT,
  BranchID INTEGER,
  AccID    INTEGER
);
CREATE INDEX ix_cashier_branchid ON Cashier (BranchID);

-- Sales invoice headers. CustomerID -1: walk-in customer named in
-- CustomerName. Payment 0 cash, 1 credit. CashierAccID is CardAcc.ID.
CREATE TABLE SaleInvoice (
  ID           INTEGER PRIMARY KEY AUTOINCREMENT,
  BranchID     INTEGER,
  InvoiceNo    REAL,
  UserID       INTEGER,
  fDate        TEXT,
  fTime        TEXT,
  CustomerID   INTEGER,
  CustomerName TEXT,
  Payment      INTEGER DEFAULT 0,
  CashierAccID INTEGER,
  note         TEXT,
  Total        REAL DEFAULT 0,
  Net          REAL DEFAULT 0,
  Discount     REAL DEFAULT 0,
  SaleManID    INTEGER,
  SMinvNo      TEXT,
  SMinvDate    TEXT,
  DueDate      TEXT
);
CREATE INDEX ix_saleinvoice_branchid_invoiceno ON SaleInvoice (BranchID, InvoiceNo);

-- Sales invoice lines, InvoiceID is SaleInvoice.ID.
CREATE TABLE SInvSData (
  ID           INTEGER PRIMARY KEY AUTOINCREMENT,
  InvoiceID    INTEGER,
  CategoryID   INTEGER,
  Description  TEXT,
  UnitID       INTEGER,
  Quantity     INTEGER DEFAULT 0,
  ActualQty    INTEGER DEFAULT 0,
  Price        NUMERIC DEFAULT 0,
  Discount     REAL DEFAULT 0,
  Total        NUMERIC DEFAULT 0,
  HidePrice    BOOLEAN NOT NULL DEFAULT FALSE,
  SpecialOffer REAL DEFAULT 0,
  ActualPrice  REAL DEFAULT 0,
  CostPrice    REAL DEFAULT 0,
  Net          REAL DEFAULT 0,
  ExpireDate   TEXT
);
CREATE INDEX ix_sinvsdata_invoiceid ON SInvSData (InvoiceID);

-- Purchase invoice headers. ProviderID -1: walk-in provider named in
-- ProviderName.
CREATE TABLE BuyInvoice (
  ID           INTEGER PRIMARY KEY AUTOINCREMENT,
  BranchID     INTEGER,
  InvoiceNo    REAL,
  UserID       INTEGER,
  fDate        TEXT,
  fTime        TEXT,
  ProviderID   INTEGER,
  ProviderName TEXT,
  Payment      INTEGER DEFAULT 0,
  CashierAccID INTEGER,
  UpdatePrice  BOOLEAN NOT NULL DEFAULT FALSE,
  note         TEXT,
  Total        REAL DEFAULT 0,
  Net          REAL DEFAULT 0,
  Discount     REAL DEFAULT 0,
  ProvInvNo    TEXT,
  ProvInvDate  TEXT,
  DueDate      TEXT
);
CREATE INDEX ix_buyinvoice_branchid_invoiceno ON BuyInvoice (BranchID, InvoiceNo);

-- Purchase invoice lines, InvoiceID is BuyInvoice.ID.
CREATE TABLE BInvData (
  ID          INTEGER PRIMARY KEY AUTOINCREMENT,
  InvoiceID   INTEGER,
  CategoryID  INTEGER,
  Description TEXT,
  UnitID      INTEGER,
  Quantity    INTEGER DEFAULT 0,
  ActualQty   INTEGER DEFAULT 0,
  Price       NUMERIC DEFAULT 0,
  Discount    REAL DEFAULT 0,
  Total       NUMERIC DEFAULT 0,
  ActualPrice REAL DEFAULT 0,
  ExpireDate  TEXT,
  BonusOffer  INTEGER DEFAULT 0
);
CREATE INDEX ix_binvdata_invoiceid ON BInvData (InvoiceID);

-- Sales return headers, InvSaleID is the returned SaleInvoice.ID, 0 when
-- the invoice is unknown.
CREATE TABLE RSaleInvoice (
  ID           INTEGER PRIMARY KEY AUTOINCREMENT,
  BranchID     INTEGER,
  InvoiceNo    REAL,
  UserID       INTEGER,
  fDate        TEXT,
  fTime        TEXT,
  CustomerID   INTEGER,
  Payment      INTEGER DEFAULT 0,
  CashierAccID INTEGER,
  note         TEXT,
  Net          REAL DEFAULT 0,
  InvSaleID    INTEGER DEFAULT 0,
  SaleManID    INTEGER,
  SMInvNo      TEXT,
  SMInvDate    TEXT
);
CREATE INDEX ix_rsaleinvoice_branchid_invoiceno ON RSaleInvoice (BranchID, InvoiceNo);
CREATE INDEX ix_rsaleinvoice_invsaleid ON RSaleInvoice (InvSaleID);

-- Sales return lines, InvoiceID is RSaleInvoice.ID.
CREATE TABLE RSInvSData (
  ID           INTEGER PRIMARY KEY AUTOINCREMENT,
  InvoiceID    INTEGER,
  CategoryID   INTEGER,
  Description  TEXT,
  UnitID       INTEGER,
  Quantity     INTEGER DEFAULT 0,
  ActualQty    INTEGER DEFAULT 0,
  Price        NUMERIC DEFAULT 0,
  Total        NUMERIC DEFAULT 0,
  HidePrice    BOOLEAN NOT NULL DEFAULT FALSE,
  SpecialOffer REAL DEFAULT 0,
  ActualPrice  REAL DEFAULT 0,
  CostPrice    REAL DEFAULT 0,
  Net          REAL DEFAULT 0,
  ExpireDate   TEXT
);
CREATE INDEX ix_rsinvsdata_invoiceid ON RSInvSData (InvoiceID);

-- Purchase return headers, InvBuyID is the returned BuyInvoice.ID, 0 when
-- the invoice is unknown.
CREATE TABLE RBuyInvoice (
  ID           INTEGER PRIMARY KEY AUTOINCREMENT,
  BranchID     INTEGER,
  InvoiceNo    REAL,
  UserID       INTEGER,
  fDate        TEXT,
  fTime        TEXT,
  ProviderID   INTEGER,
  Payment      INTEGER DEFAULT 0,
  CashierAccID INTEGER,
  note         TEXT,
  Net          REAL DEFAULT 0,
  InvBuyID     INTEGER DEFAULT 0
);
CREATE INDEX ix_rbuyinvoice_branchid_invoiceno ON RBuyInvoice (BranchID, InvoiceNo);
CREATE INDEX ix_rbuyinvoice_invbuyid ON RBuyInvoice (InvBuyID);

-- Purchase return lines, InvoiceID is RBuyInvoice.ID.
CREATE TABLE RBInvData (
  ID          INTEGER PRIMARY KEY AUTOINCREMENT,
  InvoiceID   INTEGER,
  CategoryID  INTEGER,
  Description TEXT,
  UnitID      INTEGER,
  Quantity    INTEGER DEFAULT 0,
  Price       NUMERIC DEFAULT 0,
  Total       NUMERIC DEFAULT 0,
  ActualPrice REAL DEFAULT 0,
  ExpireDate  TEXT
);
CREATE INDEX ix_rbinvdata_invoiceid ON RBInvData (InvoiceID);

-- Receipt voucher headers. AccIDTo is the cash box (CardAcc.ID) the money
-- goes into, ftype 0 cash, 1 cheque (BillNo and BillDate empty for cash).
CREATE TABLE Receipt (
  ID        INTEGER PRIMARY KEY AUTOINCREMENT,
  BranchID  INTEGER,
  ReceiptNo INTEGER,
  UserID    INTEGER,
  fDate     TEXT,
  fTime     TEXT,
  AccIDTo   INTEGER,
  Amount    NUMERIC DEFAULT 0,
  fCash     NUMERIC DEFAULT 0,
  fCheque   NUMERIC DEFAULT 0,
  ftype     INTEGER DEFAULT 0,
  SaleManID INTEGER,
  SMinvNo   TEXT,
  SMinvDate TEXT,
  BillNo    TEXT,
  BillDate  TEXT,
  Details   TEXT
);
CREATE INDEX ix_receipt_branchid_receiptno ON Receipt (BranchID, ReceiptNo);

-- Receipt voucher detail, one row per receipt: From_AccNoID is the payer's
-- account (CardAcc.ID).
CREATE TABLE ReceiptDetails (
  ID           INTEGER PRIMARY KEY AUTOINCREMENT,
  ReceiptID    INTEGER,
  From_AccNoID INTEGER DEFAULT 0,
  fPayer       TEXT,
  Details      TEXT,
  fType        INTEGER DEFAULT 0,
  BankID       INTEGER,
  BillDate     TEXT,
  BillNo       TEXT,
  Amount       NUMERIC DEFAULT 0
);
CREATE INDEX ix_receiptdetails_receiptid ON ReceiptDetails (ReceiptID);

-- Payment voucher headers. AccIDFrom is the cash box (CardAcc.ID) the money
-- leaves, ftype 0 cash, 1 cheque.
CREATE TABLE Payment (
  ID        INTEGER PRIMARY KEY AUTOINCREMENT,
  BranchID  INTEGER,
  PaymentNo INTEGER,
  UserID    INTEGER,
  fDate     TEXT,
  fTime     TEXT,
  AccIDFrom INTEGER,
  Amount    NUMERIC DEFAULT 0,
  fCash     NUMERIC DEFAULT 0,
  fCheque   NUMERIC DEFAULT 0,
  ftype     INTEGER DEFAULT 0,
  BillNo    TEXT,
  BillDate  TEXT,
  Details   TEXT
);
CREATE INDEX ix_payment_branchid_paymentno ON Payment (BranchID, PaymentNo);

-- Payment voucher detail, one row per payment: To_AccNoID is the payee's
-- account (CardAcc.ID).
CREATE TABLE PaymentDetails (
  ID         INTEGER PRIMARY KEY AUTOINCREMENT,
  PaymentID  INTEGER,
  To_AccNoID INTEGER DEFAULT 0,
  fPayer     TEXT,
  Details    TEXT,
  fType      INTEGER DEFAULT 0,
  BankID     INTEGER,
  BillDate   TEXT,
  BillNo     TEXT,
  Amount     NUMERIC DEFAULT 0
);
CREATE INDEX ix_paymentdetails_paymentid ON PaymentDetails (PaymentID);

-- The number each renumbered invoice or return had before its first
-- renumbering (for an imported document, its version-1 number), so that a
-- later import finds the document it came from. DocumentTable names the
-- header table (SaleInvoice, BuyInvoice, RSaleInvoice, RBuyInvoice);
-- DocumentID is the header's ID. A replaced document passes its row on to
-- the document that replaces it.
CREATE TABLE RenumberedDocuments (
  ID            INTEGER PRIMARY KEY AUTOINCREMENT,
  BranchID      INTEGER,
  DocumentTable TEXT,
  Version1No    REAL,
  DocumentID    INTEGER
);
CREATE INDEX ix_renumbereddocuments_branch_table_no ON RenumberedDocuments (BranchID, DocumentTable, Version1No);
CREATE INDEX ix_renumbereddocuments_documentid ON RenumberedDocuments (DocumentID);

-- One lock row per lock name, all free.
INSERT INTO LockTables (TableName, fLocked) VALUES ('CardAcc', FALSE);
INSERT INTO LockTables (TableName, fLocked) VALUES ('Gaid', FALSE);
INSERT INTO LockTables (TableName, fLocked) VALUES ('Category', FALSE);
INSERT INTO LockTables (TableName, fLocked) VALUES ('Customer', FALSE);
INSERT INTO LockTables (TableName, fLocked) VALUES ('Sales', FALSE);
INSERT INTO LockTables (TableName, fLocked) VALUES ('SaleInvoice', FALSE);
INSERT INTO LockTables (TableName, fLocked) VALUES ('BuyInvoice', FALSE);
INSERT INTO LockTables (TableName, fLocked) VALUES ('RSales', FALSE);
INSERT INTO LockTables (TableName, fLocked) VALUES ('RBuyInvoice', FALSE);
INSERT INTO LockTables (TableName, fLocked) VALUES ('Receipt', FALSE);
INSERT INTO LockTables (TableName, fLocked) VALUES ('Payment', FALSE);

-- The single settings row: Gregorian calendar, no automatic change.
INSERT INTO SysInfo (CalndrType, CalndrAutoChange) VALUES (0, FALSE);

-- Change counters: how many rows every writer has inserted, updated or
-- deleted in each table, kept by the triggers below, so that a reader can
-- tell whether anyone else wrote a table since it last read it. The
-- count of a table is the sum of its rows here (TableName in lower case).
-- LockTables has none: its rows change at every lock and unlock, and it is
-- read only by single-row lookups, never through a kept recordset.
-- SQLite writers take turns, so each table has one row, Writer 0, that
-- its triggers raise by one per row written.
CREATE TABLE TableChanges (
  ID        INTEGER PRIMARY KEY AUTOINCREMENT,
  TableName TEXT NOT NULL,
  Writer    INTEGER NOT NULL DEFAULT 0,
  Changes   INTEGER NOT NULL DEFAULT 0
);
CREATE UNIQUE INDEX ix_tablechanges_tablename_writer ON TableChanges (TableName, Writer);
INSERT INTO TableChanges (TableName) VALUES ('sysinfo');
INSERT INTO TableChanges (TableName) VALUES ('branch');
INSERT INTO TableChanges (TableName) VALUES ('unit');
INSERT INTO TableChanges (TableName) VALUES ('bank');
INSERT INTO TableChanges (TableName) VALUES ('cardacc');
INSERT INTO TableChanges (TableName) VALUES ('gaid');
INSERT INTO TableChanges (TableName) VALUES ('gaiddetails');
INSERT INTO TableChanges (TableName) VALUES ('class');
INSERT INTO TableChanges (TableName) VALUES ('category');
INSERT INTO TableChanges (TableName) VALUES ('customer');
INSERT INTO TableChanges (TableName) VALUES ('provider');
INSERT INTO TableChanges (TableName) VALUES ('cashier');
INSERT INTO TableChanges (TableName) VALUES ('saleinvoice');
INSERT INTO TableChanges (TableName) VALUES ('sinvsdata');
INSERT INTO TableChanges (TableName) VALUES ('buyinvoice');
INSERT INTO TableChanges (TableName) VALUES ('binvdata');
INSERT INTO TableChanges (TableName) VALUES ('rsaleinvoice');
INSERT INTO TableChanges (TableName) VALUES ('rsinvsdata');
INSERT INTO TableChanges (TableName) VALUES ('rbuyinvoice');
INSERT INTO TableChanges (TableName) VALUES ('rbinvdata');
INSERT INTO TableChanges (TableName) VALUES ('receipt');
INSERT INTO TableChanges (TableName) VALUES ('receiptdetails');
INSERT INTO TableChanges (TableName) VALUES ('payment');
INSERT INTO TableChanges (TableName) VALUES ('paymentdetails');
INSERT INTO TableChanges (TableName) VALUES ('renumbereddocuments');

CREATE TRIGGER sysinfo_counted_insert AFTER INSERT ON SysInfo BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'sysinfo' AND Writer = 0; END;
CREATE TRIGGER sysinfo_counted_update AFTER UPDATE ON SysInfo BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'sysinfo' AND Writer = 0; END;
CREATE TRIGGER sysinfo_counted_delete AFTER DELETE ON SysInfo BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'sysinfo' AND Writer = 0; END;

CREATE TRIGGER branch_counted_insert AFTER INSERT ON Branch BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'branch' AND Writer = 0; END;
CREATE TRIGGER branch_counted_update AFTER UPDATE ON Branch BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'branch' AND Writer = 0; END;
CREATE TRIGGER branch_counted_delete AFTER DELETE ON Branch BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'branch' AND Writer = 0; END;

CREATE TRIGGER unit_counted_insert AFTER INSERT ON Unit BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'unit' AND Writer = 0; END;
CREATE TRIGGER unit_counted_update AFTER UPDATE ON Unit BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'unit' AND Writer = 0; END;
CREATE TRIGGER unit_counted_delete AFTER DELETE ON Unit BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'unit' AND Writer = 0; END;

CREATE TRIGGER bank_counted_insert AFTER INSERT ON Bank BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'bank' AND Writer = 0; END;
CREATE TRIGGER bank_counted_update AFTER UPDATE ON Bank BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'bank' AND Writer = 0; END;
CREATE TRIGGER bank_counted_delete AFTER DELETE ON Bank BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'bank' AND Writer = 0; END;

CREATE TRIGGER cardacc_counted_insert AFTER INSERT ON CardAcc BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'cardacc' AND Writer = 0; END;
CREATE TRIGGER cardacc_counted_update AFTER UPDATE ON CardAcc BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'cardacc' AND Writer = 0; END;
CREATE TRIGGER cardacc_counted_delete AFTER DELETE ON CardAcc BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'cardacc' AND Writer = 0; END;

CREATE TRIGGER gaid_counted_insert AFTER INSERT ON Gaid BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'gaid' AND Writer = 0; END;
CREATE TRIGGER gaid_counted_update AFTER UPDATE ON Gaid BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'gaid' AND Writer = 0; END;
CREATE TRIGGER gaid_counted_delete AFTER DELETE ON Gaid BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'gaid' AND Writer = 0; END;

CREATE TRIGGER gaiddetails_counted_insert AFTER INSERT ON GaidDetails BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'gaiddetails' AND Writer = 0; END;
CREATE TRIGGER gaiddetails_counted_update AFTER UPDATE ON GaidDetails BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'gaiddetails' AND Writer = 0; END;
CREATE TRIGGER gaiddetails_counted_delete AFTER DELETE ON GaidDetails BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'gaiddetails' AND Writer = 0; END;

CREATE TRIGGER class_counted_insert AFTER INSERT ON Class BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'class' AND Writer = 0; END;
CREATE TRIGGER class_counted_update AFTER UPDATE ON Class BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'class' AND Writer = 0; END;
CREATE TRIGGER class_counted_delete AFTER DELETE ON Class BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'class' AND Writer = 0; END;

CREATE TRIGGER category_counted_insert AFTER INSERT ON Category BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'category' AND Writer = 0; END;
CREATE TRIGGER category_counted_update AFTER UPDATE ON Category BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'category' AND Writer = 0; END;
CREATE TRIGGER category_counted_delete AFTER DELETE ON Category BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'category' AND Writer = 0; END;

CREATE TRIGGER customer_counted_insert AFTER INSERT ON Customer BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'customer' AND Writer = 0; END;
CREATE TRIGGER customer_counted_update AFTER UPDATE ON Customer BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'customer' AND Writer = 0; END;
CREATE TRIGGER customer_counted_delete AFTER DELETE ON Customer BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'customer' AND Writer = 0; END;

CREATE TRIGGER provider_counted_insert AFTER INSERT ON Provider BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'provider' AND Writer = 0; END;
CREATE TRIGGER provider_counted_update AFTER UPDATE ON Provider BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'provider' AND Writer = 0; END;
CREATE TRIGGER provider_counted_delete AFTER DELETE ON Provider BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'provider' AND Writer = 0; END;

CREATE TRIGGER cashier_counted_insert AFTER INSERT ON Cashier BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'cashier' AND Writer = 0; END;
CREATE TRIGGER cashier_counted_update AFTER UPDATE ON Cashier BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'cashier' AND Writer = 0; END;
CREATE TRIGGER cashier_counted_delete AFTER DELETE ON Cashier BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'cashier' AND Writer = 0; END;

CREATE TRIGGER saleinvoice_counted_insert AFTER INSERT ON SaleInvoice BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'saleinvoice' AND Writer = 0; END;
CREATE TRIGGER saleinvoice_counted_update AFTER UPDATE ON SaleInvoice BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'saleinvoice' AND Writer = 0; END;
CREATE TRIGGER saleinvoice_counted_delete AFTER DELETE ON SaleInvoice BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'saleinvoice' AND Writer = 0; END;

CREATE TRIGGER sinvsdata_counted_insert AFTER INSERT ON SInvSData BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'sinvsdata' AND Writer = 0; END;
CREATE TRIGGER sinvsdata_counted_update AFTER UPDATE ON SInvSData BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'sinvsdata' AND Writer = 0; END;
CREATE TRIGGER sinvsdata_counted_delete AFTER DELETE ON SInvSData BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'sinvsdata' AND Writer = 0; END;

CREATE TRIGGER buyinvoice_counted_insert AFTER INSERT ON BuyInvoice BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'buyinvoice' AND Writer = 0; END;
CREATE TRIGGER buyinvoice_counted_update AFTER UPDATE ON BuyInvoice BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'buyinvoice' AND Writer = 0; END;
CREATE TRIGGER buyinvoice_counted_delete AFTER DELETE ON BuyInvoice BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'buyinvoice' AND Writer = 0; END;

CREATE TRIGGER binvdata_counted_insert AFTER INSERT ON BInvData BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'binvdata' AND Writer = 0; END;
CREATE TRIGGER binvdata_counted_update AFTER UPDATE ON BInvData BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'binvdata' AND Writer = 0; END;
CREATE TRIGGER binvdata_counted_delete AFTER DELETE ON BInvData BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'binvdata' AND Writer = 0; END;

CREATE TRIGGER rsaleinvoice_counted_insert AFTER INSERT ON RSaleInvoice BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'rsaleinvoice' AND Writer = 0; END;
CREATE TRIGGER rsaleinvoice_counted_update AFTER UPDATE ON RSaleInvoice BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'rsaleinvoice' AND Writer = 0; END;
CREATE TRIGGER rsaleinvoice_counted_delete AFTER DELETE ON RSaleInvoice BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'rsaleinvoice' AND Writer = 0; END;

CREATE TRIGGER rsinvsdata_counted_insert AFTER INSERT ON RSInvSData BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'rsinvsdata' AND Writer = 0; END;
CREATE TRIGGER rsinvsdata_counted_update AFTER UPDATE ON RSInvSData BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'rsinvsdata' AND Writer = 0; END;
CREATE TRIGGER rsinvsdata_counted_delete AFTER DELETE ON RSInvSData BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'rsinvsdata' AND Writer = 0; END;

CREATE TRIGGER rbuyinvoice_counted_insert AFTER INSERT ON RBuyInvoice BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'rbuyinvoice' AND Writer = 0; END;
CREATE TRIGGER rbuyinvoice_counted_update AFTER UPDATE ON RBuyInvoice BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'rbuyinvoice' AND Writer = 0; END;
CREATE TRIGGER rbuyinvoice_counted_delete AFTER DELETE ON RBuyInvoice BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'rbuyinvoice' AND Writer = 0; END;

CREATE TRIGGER rbinvdata_counted_insert AFTER INSERT ON RBInvData BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'rbinvdata' AND Writer = 0; END;
CREATE TRIGGER rbinvdata_counted_update AFTER UPDATE ON RBInvData BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'rbinvdata' AND Writer = 0; END;
CREATE TRIGGER rbinvdata_counted_delete AFTER DELETE ON RBInvData BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'rbinvdata' AND Writer = 0; END;

CREATE TRIGGER receipt_counted_insert AFTER INSERT ON Receipt BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'receipt' AND Writer = 0; END;
CREATE TRIGGER receipt_counted_update AFTER UPDATE ON Receipt BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'receipt' AND Writer = 0; END;
CREATE TRIGGER receipt_counted_delete AFTER DELETE ON Receipt BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'receipt' AND Writer = 0; END;

CREATE TRIGGER receiptdetails_counted_insert AFTER INSERT ON ReceiptDetails BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'receiptdetails' AND Writer = 0; END;
CREATE TRIGGER receiptdetails_counted_update AFTER UPDATE ON ReceiptDetails BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'receiptdetails' AND Writer = 0; END;
CREATE TRIGGER receiptdetails_counted_delete AFTER DELETE ON ReceiptDetails BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'receiptdetails' AND Writer = 0; END;

CREATE TRIGGER payment_counted_insert AFTER INSERT ON Payment BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'payment' AND Writer = 0; END;
CREATE TRIGGER payment_counted_update AFTER UPDATE ON Payment BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'payment' AND Writer = 0; END;
CREATE TRIGGER payment_counted_delete AFTER DELETE ON Payment BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'payment' AND Writer = 0; END;

CREATE TRIGGER paymentdetails_counted_insert AFTER INSERT ON PaymentDetails BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'paymentdetails' AND Writer = 0; END;
CREATE TRIGGER paymentdetails_counted_update AFTER UPDATE ON PaymentDetails BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'paymentdetails' AND Writer = 0; END;
CREATE TRIGGER paymentdetails_counted_delete AFTER DELETE ON PaymentDetails BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'paymentdetails' AND Writer = 0; END;

CREATE TRIGGER renumbereddocuments_counted_insert AFTER INSERT ON RenumberedDocuments BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'renumbereddocuments' AND Writer = 0; END;
CREATE TRIGGER renumbereddocuments_counted_update AFTER UPDATE ON RenumberedDocuments BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'renumbereddocuments' AND Writer = 0; END;
CREATE TRIGGER renumbereddocuments_counted_delete AFTER DELETE ON RenumberedDocuments BEGIN UPDATE TableChanges SET Changes = Changes + 1 WHERE TableName = 'renumbereddocuments' AND Writer = 0; END;
