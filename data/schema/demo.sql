-- Demo data for a new version-2 database: two branches with their
-- charts of accounts, cash boxes and item classes, units and banks.
-- Load after the schema, into empty tables: rows are numbered 1, 2, 3 ...
-- in the order they are inserted, and later rows refer to those IDs.
-- Plain SQL shared by SQLite and PostgreSQL.

-- Branches: ID 1 main branch, ID 2 north branch.
INSERT INTO Branch (AName, EName) VALUES ('الفرع الرئيسي', 'Main Branch');
INSERT INTO Branch (AName, EName) VALUES ('فرع الشمال', 'North Branch');

-- Units: ID 1 piece ... ID 6 metre.
INSERT INTO Unit (AName, EName) VALUES ('حبة', 'Piece');
INSERT INTO Unit (AName, EName) VALUES ('علبة', 'Box');
INSERT INTO Unit (AName, EName) VALUES ('كرتون', 'Carton');
INSERT INTO Unit (AName, EName) VALUES ('كيلوغرام', 'Kilogram');
INSERT INTO Unit (AName, EName) VALUES ('لتر', 'Litre');
INSERT INTO Unit (AName, EName) VALUES ('متر', 'Metre');

-- Banks.
INSERT INTO Bank (AName, EName) VALUES ('بنك التجارة', 'Trade Bank');
INSERT INTO Bank (AName, EName) VALUES ('بنك الادخار', 'Savings Bank');

-- Charts of accounts, the same tree in both branches. Account numbers
-- extend their parent's number, top-level accounts have ffather "_".
-- Haves is the number of direct sub-accounts and SubCardsID the IDs of
-- all descendants in ascending order (a leaf holds its own ID).
-- ftype: 0 balance sheet, 1 profit and loss, 2 trading.
-- Customers' accounts are created under 1203 (1203001, 1203002 ...) and
-- providers' accounts under 21 (21001 ...), both start without children.

-- Main Branch (branch 1): accounts ID 1 to 30.
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (1, '1', 'الأصول', 'Assets', '_', 0, 1, 0, 0, 0, 0, 2, '2,3,4,5,6,7,8,9,10,11,12');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (1, '11', 'الأصول الثابتة', 'Fixed assets', '1', 0, 1, 0, 0, 0, 0, 2, '3,4');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (1, '1101', 'الأثاث والتجهيزات', 'Furniture and fittings', '11', 0, 1, 0, 0, 0, 0, 0, '3');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (1, '1102', 'السيارات', 'Vehicles', '11', 0, 1, 0, 0, 0, 0, 0, '4');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (1, '12', 'الأصول المتداولة', 'Current assets', '1', 0, 1, 0, 0, 0, 0, 4, '6,7,8,9,10,11,12');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (1, '1201', 'الصناديق', 'Cash boxes', '12', 0, 1, 0, 0, 0, 0, 2, '7,8');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (1, '120101', 'الصندوق الرئيسي', 'Main cash box', '1201', 0, 1, 0, 0, 50000, 0, 0, '7');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (1, '120102', 'صندوق المبيعات', 'Sales cash box', '1201', 0, 1, 0, 0, 0, 0, 0, '8');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (1, '1202', 'البنوك', 'Banks', '12', 0, 1, 0, 0, 0, 0, 1, '10');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (1, '120201', 'الحساب الجاري لدى البنك', 'Bank current account', '1202', 0, 1, 0, 0, 150000, 0, 0, '10');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (1, '1203', 'العملاء', 'Customers', '12', 0, 1, 0, 0, 0, 0, 0, '11');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (1, '1204', 'المخزون', 'Inventory', '12', 0, 1, 0, 0, 0, 0, 0, '12');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (1, '2', 'الخصوم', 'Liabilities', '_', 0, 0, 1, 0, 0, 0, 2, '14,15');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (1, '21', 'الموردون', 'Providers', '2', 0, 0, 1, 0, 0, 0, 0, '14');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (1, '22', 'مصروفات مستحقة', 'Accrued expenses', '2', 0, 0, 1, 0, 0, 0, 0, '15');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (1, '3', 'حقوق الملكية', 'Owners'' equity', '_', 0, 0, 1, 0, 0, 0, 2, '17,18');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (1, '31', 'رأس المال', 'Capital', '3', 0, 0, 1, 0, 0, 200000, 0, '17');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (1, '32', 'الأرباح المحتجزة', 'Retained earnings', '3', 0, 0, 1, 0, 0, 0, 0, '18');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (1, '4', 'المتاجرة', 'Trading', '_', 2, 1, 1, 0, 0, 0, 4, '20,21,22,23');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (1, '41', 'المبيعات', 'Sales', '4', 2, 0, 1, 0, 0, 0, 0, '20');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (1, '42', 'مردودات المبيعات', 'Sales returns', '4', 2, 1, 0, 0, 0, 0, 0, '21');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (1, '43', 'المشتريات', 'Purchases', '4', 2, 1, 0, 0, 0, 0, 0, '22');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (1, '44', 'مردودات المشتريات', 'Purchase returns', '4', 2, 0, 1, 0, 0, 0, 0, '23');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (1, '5', 'المصروفات', 'Expenses', '_', 1, 1, 0, 0, 0, 0, 3, '25,26,27');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (1, '51', 'الرواتب والأجور', 'Salaries and wages', '5', 1, 1, 0, 0, 0, 0, 0, '25');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (1, '52', 'الإيجار', 'Rent', '5', 1, 1, 0, 0, 0, 0, 0, '26');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (1, '53', 'الكهرباء والماء', 'Electricity and water', '5', 1, 1, 0, 0, 0, 0, 0, '27');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (1, '6', 'الإيرادات الأخرى', 'Other revenues', '_', 1, 0, 1, 0, 0, 0, 2, '29,30');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (1, '61', 'إيرادات متنوعة', 'Miscellaneous revenues', '6', 1, 0, 1, 0, 0, 0, 0, '29');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (1, '62', 'الخصم المكتسب', 'Discounts received', '6', 1, 0, 1, 0, 0, 0, 0, '30');

-- North Branch (branch 2): accounts ID 31 to 60.
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (2, '1', 'الأصول', 'Assets', '_', 0, 1, 0, 0, 0, 0, 2, '32,33,34,35,36,37,38,39,40,41,42');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (2, '11', 'الأصول الثابتة', 'Fixed assets', '1', 0, 1, 0, 0, 0, 0, 2, '33,34');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (2, '1101', 'الأثاث والتجهيزات', 'Furniture and fittings', '11', 0, 1, 0, 0, 0, 0, 0, '33');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (2, '1102', 'السيارات', 'Vehicles', '11', 0, 1, 0, 0, 0, 0, 0, '34');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (2, '12', 'الأصول المتداولة', 'Current assets', '1', 0, 1, 0, 0, 0, 0, 4, '36,37,38,39,40,41,42');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (2, '1201', 'الصناديق', 'Cash boxes', '12', 0, 1, 0, 0, 0, 0, 2, '37,38');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (2, '120101', 'الصندوق الرئيسي', 'Main cash box', '1201', 0, 1, 0, 0, 0, 0, 0, '37');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (2, '120102', 'صندوق المبيعات', 'Sales cash box', '1201', 0, 1, 0, 0, 0, 0, 0, '38');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (2, '1202', 'البنوك', 'Banks', '12', 0, 1, 0, 0, 0, 0, 1, '40');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (2, '120201', 'الحساب الجاري لدى البنك', 'Bank current account', '1202', 0, 1, 0, 0, 0, 0, 0, '40');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (2, '1203', 'العملاء', 'Customers', '12', 0, 1, 0, 0, 0, 0, 0, '41');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (2, '1204', 'المخزون', 'Inventory', '12', 0, 1, 0, 0, 0, 0, 0, '42');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (2, '2', 'الخصوم', 'Liabilities', '_', 0, 0, 1, 0, 0, 0, 2, '44,45');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (2, '21', 'الموردون', 'Providers', '2', 0, 0, 1, 0, 0, 0, 0, '44');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (2, '22', 'مصروفات مستحقة', 'Accrued expenses', '2', 0, 0, 1, 0, 0, 0, 0, '45');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (2, '3', 'حقوق الملكية', 'Owners'' equity', '_', 0, 0, 1, 0, 0, 0, 2, '47,48');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (2, '31', 'رأس المال', 'Capital', '3', 0, 0, 1, 0, 0, 0, 0, '47');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (2, '32', 'الأرباح المحتجزة', 'Retained earnings', '3', 0, 0, 1, 0, 0, 0, 0, '48');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (2, '4', 'المتاجرة', 'Trading', '_', 2, 1, 1, 0, 0, 0, 4, '50,51,52,53');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (2, '41', 'المبيعات', 'Sales', '4', 2, 0, 1, 0, 0, 0, 0, '50');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (2, '42', 'مردودات المبيعات', 'Sales returns', '4', 2, 1, 0, 0, 0, 0, 0, '51');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (2, '43', 'المشتريات', 'Purchases', '4', 2, 1, 0, 0, 0, 0, 0, '52');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (2, '44', 'مردودات المشتريات', 'Purchase returns', '4', 2, 0, 1, 0, 0, 0, 0, '53');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (2, '5', 'المصروفات', 'Expenses', '_', 1, 1, 0, 0, 0, 0, 3, '55,56,57');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (2, '51', 'الرواتب والأجور', 'Salaries and wages', '5', 1, 1, 0, 0, 0, 0, 0, '55');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (2, '52', 'الإيجار', 'Rent', '5', 1, 1, 0, 0, 0, 0, 0, '56');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (2, '53', 'الكهرباء والماء', 'Electricity and water', '5', 1, 1, 0, 0, 0, 0, 0, '57');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (2, '6', 'الإيرادات الأخرى', 'Other revenues', '_', 1, 0, 1, 0, 0, 0, 2, '59,60');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (2, '61', 'إيرادات متنوعة', 'Miscellaneous revenues', '6', 1, 0, 1, 0, 0, 0, 0, '59');
INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, debit, credit, MaxBalance, StartDebit, StartCredit, Haves, SubCardsID) VALUES (2, '62', 'الخصم المكتسب', 'Discounts received', '6', 1, 0, 1, 0, 0, 0, 0, '60');

-- Cash boxes of each branch (the accounts under 1201).
INSERT INTO Cashier (BranchID, AccID) VALUES (1, 7);
INSERT INTO Cashier (BranchID, AccID) VALUES (1, 8);
INSERT INTO Cashier (BranchID, AccID) VALUES (2, 37);
INSERT INTO Cashier (BranchID, AccID) VALUES (2, 38);

-- Item classes of each branch, posting sales to 41, purchases to 43,
-- sales returns to 42 and purchase returns to 44 of their branch.
INSERT INTO Class (BranchID, fNo, AName, EName, AccID_Cash_S, AccID_Credit_S, AccID_ToBill_S, AccID_Cash_B, AccID_Credit_B, AccID_Cash_SR, AccID_Credit_SR, AccID_ToBill_SR, AccID_Cash_BR, AccID_Credit_BR) VALUES (1, 1, 'مواد غذائية', 'Foodstuffs', 20, 20, 20, 22, 22, 21, 21, 21, 23, 23);
INSERT INTO Class (BranchID, fNo, AName, EName, AccID_Cash_S, AccID_Credit_S, AccID_ToBill_S, AccID_Cash_B, AccID_Credit_B, AccID_Cash_SR, AccID_Credit_SR, AccID_ToBill_SR, AccID_Cash_BR, AccID_Credit_BR) VALUES (1, 2, 'أدوات منزلية', 'Household goods', 20, 20, 20, 22, 22, 21, 21, 21, 23, 23);
INSERT INTO Class (BranchID, fNo, AName, EName, AccID_Cash_S, AccID_Credit_S, AccID_ToBill_S, AccID_Cash_B, AccID_Credit_B, AccID_Cash_SR, AccID_Credit_SR, AccID_ToBill_SR, AccID_Cash_BR, AccID_Credit_BR) VALUES (1, 3, 'مستلزمات مكتبية', 'Office supplies', 20, 20, 20, 22, 22, 21, 21, 21, 23, 23);
INSERT INTO Class (BranchID, fNo, AName, EName, AccID_Cash_S, AccID_Credit_S, AccID_ToBill_S, AccID_Cash_B, AccID_Credit_B, AccID_Cash_SR, AccID_Credit_SR, AccID_ToBill_SR, AccID_Cash_BR, AccID_Credit_BR) VALUES (2, 1, 'مواد غذائية', 'Foodstuffs', 50, 50, 50, 52, 52, 51, 51, 51, 53, 53);
INSERT INTO Class (BranchID, fNo, AName, EName, AccID_Cash_S, AccID_Credit_S, AccID_ToBill_S, AccID_Cash_B, AccID_Credit_B, AccID_Cash_SR, AccID_Credit_SR, AccID_ToBill_SR, AccID_Cash_BR, AccID_Credit_BR) VALUES (2, 2, 'أدوات منزلية', 'Household goods', 50, 50, 50, 52, 52, 51, 51, 51, 53, 53);
INSERT INTO Class (BranchID, fNo, AName, EName, AccID_Cash_S, AccID_Credit_S, AccID_ToBill_S, AccID_Cash_B, AccID_Credit_B, AccID_Cash_SR, AccID_Credit_SR, AccID_ToBill_SR, AccID_Cash_BR, AccID_Credit_BR) VALUES (2, 3, 'مستلزمات مكتبية', 'Office supplies', 50, 50, 50, 52, 52, 51, 51, 51, 53, 53);
