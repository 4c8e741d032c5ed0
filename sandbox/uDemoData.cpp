#include "sandbox/uDemoData.h"

namespace vq::sandbox {

namespace {

// What a login needs. The fiscal year is wide so that a login works on any day.
const std::vector<std::string_view> LoginData = {
    R"sql(INSERT INTO CUR (ID, ABBREVIATION, NAME, SYMBOL, DECIMALCOUNT) VALUES (1, 'EUR', 'Ευρώ', '€', 2))sql",
    R"sql(INSERT INTO COM (ID, ABBREVIATION, NAME, AFM) VALUES (1, 'DEMO', 'Δείγμα Εμπορική Α.Ε.', '099999999'))sql",
    R"sql(INSERT INTO BRA (ID, COMID, ABBREVIATION, NAME, USEVATSTATUSALTERNATE) VALUES (1, 1, 'HQ', 'Κεντρικό Αθηνών', 0))sql",
    R"sql(INSERT INTO WAR (ID, BRAID, ABBREVIATION, NAME) VALUES (1, 1, 'W1', 'Κεντρική Αποθήκη'))sql",
    R"sql(INSERT INTO SCO (ID, WARID, ABBREVIATION, NAME, ISMAIN) VALUES (1, 1, 'S1', 'Κατάστημα Σταδίου', 1))sql",
    R"sql(INSERT INTO FYE (ID, COMID, BEGINDATE, ENDDATE, STATE, CURIDBASE, VATSTATUS, VATSTATUSALTERNATE)
VALUES (1, 1, '2020-01-01 00:00:00.000', '2030-12-31 00:00:00.000', 3, 1, 1, 2))sql",
    R"sql(INSERT INTO GNO (ID, COMID, BOOKAMOUNTDECS, QTYDECS, PERCENTDECS) VALUES (1, 1, 2, 3, 2))sql",
    R"sql(INSERT INTO SBX_OPERATOR (ID, USERNAME, PASSWORD, NAME, COMID, BRAID, WARID, SCOID, DISABLED)
VALUES (1, 'admin', 'admin', 'Διαχειριστής', 1, 1, 1, 1, 0))sql",
    R"sql(INSERT INTO REVNUM (NUM) VALUES (1))sql",
};

// The demo company beyond the login: organisation, reference lists, traders, items, document
// types. Ids are given so that the rows can name each other.
const std::vector<std::string_view> MasterData = {
    // Organisation: a second branch, and a second store in the main warehouse.
    R"sql(INSERT INTO BRA (ID, COMID, ABBREVIATION, NAME, USEVATSTATUSALTERNATE) VALUES (2, 1, 'BR2', 'Υποκατάστημα Θεσσαλονίκης', 0))sql",
    R"sql(INSERT INTO WAR (ID, BRAID, ABBREVIATION, NAME) VALUES (2, 2, 'W2', 'Αποθήκη Θεσσαλονίκης'))sql",
    R"sql(INSERT INTO SCO (ID, WARID, ABBREVIATION, NAME, ISMAIN) VALUES (2, 2, 'S2', 'Κατάστημα Τσιμισκή', 1), (3, 1, 'S3', 'Κατάστημα Πειραιά', 0))sql",
    // Monthly fiscal periods over the whole fiscal year.
    R"sql(WITH RECURSIVE MONTHS(D) AS (
  SELECT '2020-01-01' UNION ALL SELECT date(D, '+1 month') FROM MONTHS WHERE D < '2030-12-01')
INSERT INTO FIP (FYEID, NAME, BEGINDATE, ENDDATE)
SELECT 1, strftime('%m/%Y', D), D || ' 00:00:00.000', date(D, '+1 month', '-1 day') || ' 00:00:00.000'
FROM MONTHS)sql",

    // Reference lists.
    R"sql(INSERT INTO CNT (ID, NAME, EUCODE) VALUES (1, 'Ελλάδα', 'GR'), (2, 'Κύπρος', 'CY'), (3, 'Γερμανία', 'DE'), (4, 'Ιταλία', 'IT'))sql",
    R"sql(INSERT INTO PRE (ID, CODE, NAME) VALUES (1, '01', 'Αττικής'), (2, '54', 'Θεσσαλονίκης'), (3, '71', 'Ηρακλείου'))sql",
    R"sql(INSERT INTO MUN (ID, CODE, NAME) VALUES (1, '0101', 'Αθηναίων'), (2, '0102', 'Πειραιώς'), (3, '5401', 'Θεσσαλονίκης'), (4, '7101', 'Ηρακλείου'))sql",
    // The Piraeus office has no code: exports show its name in its place.
    R"sql(INSERT INTO DOY (ID, CODE, NAME) VALUES (1, '1101', 'Α΄ Αθηνών'), (2, '1104', 'Δ΄ Αθηνών'), (3, '', 'ΦΑΕ Πειραιά'), (4, '4611', 'Α΄ Θεσσαλονίκης'), (5, '8110', 'Α΄ Ηρακλείου'))sql",
    R"sql(INSERT INTO OCP (ID, NAME) VALUES (1, 'Εμπόριο τροφίμων'), (2, 'Εμπόριο ενδυμάτων'), (3, 'Ιδιώτης'))sql",
    R"sql(INSERT INTO BNK (ID, NAME) VALUES (1, 'Εθνική Τράπεζα'), (2, 'Τράπεζα Πειραιώς'), (3, 'Alpha Bank'))sql",
    R"sql(INSERT INTO SHV (ID, NAME) VALUES (1, 'ACS Courier'), (2, 'ΕΛΤΑ Courier'))sql",
    R"sql(INSERT INTO UPW (ID, NAME, BASICPW, DISCPCNT) VALUES (1, 'Μετρητά', 1, 0), (2, 'Κάρτα', 1, 0), (3, 'Πίστωση 30 ημερών', 2, 0))sql",
    R"sql(INSERT INTO STL (ID, NAME, SUGGESTEDSALESDISCOUNTPCNT) VALUES (1, 'Τοις μετρητοίς', 0), (2, 'Πίστωση 30 ημερών', 0))sql",
    // The cheque kind is found by this exact name.
    R"sql(INSERT INTO BLK (ID, NAME) VALUES (1, 'Επιταγη'))sql",
    R"sql(INSERT INTO CRC (ID, CODE, NAME) VALUES (1, 'EAA00000001', 'Ταμειακή μηχανή POS1'))sql",
    R"sql(INSERT INTO EMP (ID, COMID, ABBREVIATION, NAME, PHONE1, EMAIL) VALUES
(1, 1, 'P01', 'Γεωργίου Νίκος', '2101234567', 'ngeorgiou@demo.example'),
(2, 1, 'P02', 'Κωνσταντίνου Μαρία', '2101234568', 'mkonstantinou@demo.example'))sql",
    R"sql(INSERT INTO SLM (ID, COMID, EMPID, COCIDSUPERIOR, DISABLED) VALUES (1, 1, 1, NULL, 0), (2, 1, 2, 1, 0))sql",

    // Traders of the customers (1 to 5) and of the suppliers (6 to 8). The trader of CUS002
    // has no street number.
    R"sql(INSERT INTO TRD (ID, ABBREVIATION, NAME, AFM, IDENTITYNUM, EMAIL, STREET, STRNUMBER, CITY,
  ZIPCODE, PHONE1, PHONE2, PHONE3, FAX, CONTACTPERSON, DOYID, CNTID, OCPID, MNUID, PREID) VALUES
(1, 'CUS000', 'Πελάτες Λιανικής', NULL, NULL, NULL, 'Σταδίου', '10', 'Αθήνα', '10564', NULL, NULL, NULL, NULL, NULL, NULL, 1, 3, 1, 1),
(2, 'CUS001', 'Παπαδόπουλος Α.Ε.', '094012345', NULL, 'info@papadopoulos.example', 'Λεωφ. Κηφισίας', '120', 'Αθήνα', '11526', '2106900100', '2106900101', NULL, '2106900199', 'Παπαδόπουλος Ιωάννης', 2, 1, 1, 1, 1),
(3, 'CUS002', 'Ιωάννου Γεώργιος', '123456789', 'ΑΚ123456', 'g.ioannou@mail.example', 'Αγίου Δημητρίου', NULL, 'Πειραιάς', '18545', '6944000001', NULL, NULL, NULL, NULL, 3, 1, 3, 2, 1),
(4, 'CUS003', 'Νικολάου & Σια Ο.Ε.', '800123456', NULL, 'orders@nikolaou.example', 'Τσιμισκή', '45', 'Θεσσαλονίκη', '54623', '2310555000', NULL, NULL, NULL, 'Νικολάου Ελένη', 4, 1, 2, 3, 2),
(5, 'CUS004', 'Μιχαηλίδης Κώστας', '045678901', NULL, NULL, 'Ερμού', '5', 'Αθήνα', '10563', '2103210000', NULL, NULL, NULL, NULL, 1, 1, 3, 1, 1),
(6, 'SUP001', 'Αφοί Δημητρίου Α.Ε.', '094567890', NULL, 'sales@dimitriou.example', 'ΒΙΠΕ Ηρακλείου', '3', 'Ηράκλειο', '71601', '2810380000', NULL, NULL, '2810380009', NULL, 5, 1, 1, 4, 3),
(7, 'SUP002', 'Ελαιουργική Κρήτης Α.Ε.', '998877665', NULL, NULL, 'Λεωφ. Κνωσού', '210', 'Ηράκλειο', '71409', '2810250000', NULL, NULL, NULL, NULL, 5, 1, 1, 4, 3),
(8, 'SUP003', 'Textil GmbH', 'DE123456789', NULL, 'export@textil.example', 'Hauptstraße', '12', 'München', '80331', '+49891234567', NULL, NULL, NULL, NULL, NULL, 3, 2, NULL, NULL))sql",
    R"sql(INSERT INTO TAD (ID, TRDID, ABBREVIATION, NAME, STREET, STRNUMBER, CITY, ZIPCODE, PHONE1,
  PHONE2, CNTID, MNUID, PREID) VALUES
(1, 2, 'ΑΠ01', 'Αποθήκη Ρέντη', 'Πειραιώς', '200', 'Άγιος Ιωάννης Ρέντης', '18233', '2104800000', NULL, 1, 2, 1),
(2, 2, 'ΚΑ02', 'Κατάστημα Γλυφάδας', 'Λεωφ. Βουλιαγμένης', '80', 'Γλυφάδα', '16675', '2108940000', NULL, 1, NULL, 1),
(3, 4, 'ΑΠ01', 'Αποθήκη Σίνδου', 'ΒΙΠΕ Σίνδου', 'ΟΤ 31', 'Σίνδος', '57022', NULL, NULL, 1, 3, 2))sql",

    // Customers. All are flagged for the POS; the external-system bits vary; CUS004 is
    // disabled.
    R"sql(INSERT INTO CAC (ID, CODE, NAME) VALUES (1, '01', 'Πελάτες λιανικής'), (2, '02', 'Πελάτες χονδρικής'))sql",
    R"sql(INSERT INTO CPZ (ID, NAME) VALUES (1, 'Βασικοί πελάτες'))sql",
    R"sql(INSERT INTO CUA (ID, COMID, ABBREVIATION, LINKEEABBR, NAME, TRDID, TADIDDEFAULT, CACID, CPZID,
  CURID, PLCID, UPWID, STLID, SLMID, SHVID, CREDITORCASH, CREDITLIMIT, MAXDAYSOFCREDIT,
  DEFAULTDISCOUNT, FPASTATUS, DISABLED, REMARKS, ORIGINTYPE, ORIGINID, UPDATEMERIVO,
  UPDATEEXTERNALSYS) VALUES
(1, 1, 'CUS000', 'CUS000', 'Πελάτες Λιανικής', 1, NULL, 1, NULL, 1, NULL, 1, 1, NULL, NULL, 1, 0, 0, 0, 1, 0, NULL, NULL, NULL, 1, 15),
(2, 1, 'CUS001', 'CUS001', 'Παπαδόπουλος Α.Ε.', 2, 1, 2, 1, 1, 2, 3, 2, 1, 1, 2, 10000, 30, 5, 1, 0, 'Πελάτης χονδρικής', 1, '1001', 1, 3),
(3, 1, 'CUS002', 'CUS002', 'Ιωάννου Γεώργιος', 3, NULL, 1, NULL, 1, NULL, 1, 1, 2, NULL, 1, 500, 0, 0, 1, 0, NULL, NULL, NULL, 1, 0),
(4, 1, 'CUS003', 'CUS003', 'Νικολάου & Σια Ο.Ε.', 4, NULL, 2, NULL, 1, 2, 3, 2, 1, 2, 2, 5000, 60, 3, 2, 0, NULL, NULL, NULL, 1, 4),
(5, 1, 'CUS004', 'CUS004', 'Μιχαηλίδης Κώστας', 5, NULL, 1, NULL, 1, NULL, 1, 1, NULL, NULL, 1, 0, 0, 0, 1, 1, 'Ανενεργός', NULL, NULL, 1, 0))sql",
    R"sql(INSERT INTO SAF (ID, CUAID, TADID, FPASTATUS, SLMID) VALUES (1, 2, 1, 0, 2))sql",
    R"sql(INSERT INTO CUO (ID, COMID, USEMASKFORABBR, MASKFORABBR) VALUES (1, 1, 0, 'CUS'))sql",

    // Suppliers; bit 1 of UPDATEEXTERNALSYS flags them for the POS.
    R"sql(INSERT INTO SAC (ID, CODE, NAME) VALUES (1, '01', 'Προμηθευτές εσωτερικού'), (2, '02', 'Προμηθευτές εξωτερικού'))sql",
    R"sql(INSERT INTO SUA (ID, COMID, ABBREVIATION, NAME, TRDID, SACID, CURID, CREDITLIMIT, CHARGEVAT,
  DISABLED, REMARKS, UPDATEEXTERNALSYS) VALUES
(1, 1, 'SUP001', 'Αφοί Δημητρίου Α.Ε.', 6, 1, 1, 20000, 1, 0, NULL, 1),
(2, 1, 'SUP002', 'Ελαιουργική Κρήτης Α.Ε.', 7, 1, 1, 0, 1, 0, NULL, 3),
(3, 1, 'SUP003', 'Textil GmbH', 8, 2, 1, 0, 0, 0, NULL, 0))sql",

    // Item classification, taxes and tax categories. VAT categories have their reduced-VAT
    // category; the charges hang under a parent category that is not itself a charge.
    R"sql(INSERT INTO MEU (ID, NAME) VALUES (1, 'Τεμάχιο'), (2, 'Κιλό'), (3, 'Κιβώτιο'))sql",
    R"sql(INSERT INTO IIC (ID, CODE, NAME) VALUES (1, '01', 'Ενδύματα'), (2, '02', 'Τρόφιμα'), (3, '03', 'Ηλεκτρολογικά'))sql",
    R"sql(INSERT INTO IPZ (ID, NAME) VALUES (1, 'Είδη προσφοράς'))sql",
    R"sql(INSERT INTO IF1 (ID, NAME) VALUES (1, 'Μάρκα'))sql",
    R"sql(INSERT INTO IR1 (ID, NAME) VALUES (1, 'Demo Wear'), (2, 'Κρητικός Κάμπος'))sql",
    R"sql(INSERT INTO IF2 (ID, NAME) VALUES (1, 'Εποχή'))sql",
    R"sql(INSERT INTO IR2 (ID, NAME) VALUES (1, 'Καλοκαίρι'), (2, 'Χειμώνας'), (3, 'Όλο το χρόνο'))sql",
    R"sql(INSERT INTO CLL (ID, CCSID, NAME) VALUES (1, 1, 'Κόκκινο'), (2, 1, 'Μπλε'), (3, 1, 'Μαύρο'))sql",
    R"sql(INSERT INTO SZL (ID, CCSID, NAME) VALUES (1, 1, 'S'), (2, 1, 'M'), (3, 1, 'L'))sql",
    R"sql(INSERT INTO DFL (ID, CCSID, NAME) VALUES (1, 1, 'Κλασικό'), (2, 1, 'Slim fit'))sql",
    R"sql(INSERT INTO TXA (ID, CODE, NAME, PCNTNORMAL, PCNTREDUCED, MEANING, VATCHARGE, CALCMETHOD) VALUES
(1, '24', 'ΦΠΑ 24%', 24, 17, 1, 0, 1),
(2, '13', 'ΦΠΑ 13%', 13, 9, 1, 0, 1),
(3, '6', 'ΦΠΑ 6%', 6, 4, 1, 0, 1),
(4, 'ΕΦΚ', 'Ειδικός φόρος κατανάλωσης', 0, 0, 3, 1, 2))sql",
    R"sql(INSERT INTO INC (ID, ABBREVIATION, NAME, TXAIDVAT, TXAIDSPEC1, TXAIDSPEC2, INCIDRVAT, IDPRIMARY,
  USEINDOC, DISABLED) VALUES
(1, 'ΕΜΠ24', 'Εμπορεύματα ΦΠΑ 24%', 1, NULL, NULL, 2, NULL, 0, 0),
(2, 'ΕΜΠ13', 'Εμπορεύματα ΦΠΑ 13%', 2, NULL, NULL, 3, NULL, 0, 0),
(3, 'ΕΜΠ06', 'Εμπορεύματα ΦΠΑ 6%', 3, NULL, NULL, NULL, NULL, 0, 0),
(4, 'ΕΜΠ24Φ', 'Εμπορεύματα ΦΠΑ 24% με ειδικό φόρο', 1, 4, NULL, 2, NULL, 0, 0),
(5, 'ΕΠΙΒ', 'Επιβαρύνσεις πωλήσεων', 1, NULL, NULL, NULL, NULL, 1, 0),
(6, 'MEF', 'Μεταφορικά', 1, NULL, NULL, NULL, 5, 1, 0),
(7, 'SYS', 'Έξοδα συσκευασίας', 1, NULL, NULL, NULL, 5, 1, 0))sql",
    R"sql(INSERT INTO IIO (ID, COMID, INCIDRETAIL, EXPANDASTREE) VALUES (1, 1, 1, 0))sql",

    // Items: a T-shirt kept per colour, size and style; olive oil sold also by the box of 12;
    // feta weighed on the scale; coffee with a price-embedding code; beer with a special tax;
    // a disabled item and one flagged for the web shop only.
    R"sql(INSERT INTO INI (ID, COMID, ABBREVIATION, NAME, FOREIGNDESCR, IICID, IPZID, CNTIDORIGIN, IF1ID,
  IF2ID, MEUIDBASIC, MEUID2, QTYBASE1, QTYBASE2, SPECTAX1VAL, SPECTAX1VALMU, MAYTRANSACT,
  FOLLOWEDBYCS, CLSID, SZSID, DFSID, DISABLED, UPDATEMERIVO, UPDATEEXTERNALSYS) VALUES
(1, 1, 'ITM001', 'Μπλουζάκι βαμβακερό', 'Cotton T-shirt', 1, NULL, 1, 1, 1, 1, NULL, NULL, NULL, NULL, NULL, 1, 1, 1, 1, 1, 0, 1, 3),
(2, 1, 'ITM002', 'Ελαιόλαδο παρθένο 1lt', 'Extra virgin olive oil 1lt', 2, 1, 1, 2, 3, 1, 3, 12, 1, NULL, NULL, 1, 0, NULL, NULL, NULL, 0, 1, 3),
(3, 1, 'ITM003', 'Τυρί φέτα', 'Feta cheese', 2, NULL, 1, 2, 3, 2, NULL, NULL, NULL, NULL, NULL, 1, 0, NULL, NULL, NULL, 0, 1, 1),
(4, 1, 'ITM004', 'Λάμπα LED 10W', 'LED bulb 10W', 3, NULL, 3, NULL, NULL, 1, NULL, NULL, NULL, NULL, NULL, 1, 0, NULL, NULL, NULL, 0, 1, 0),
(5, 1, 'ITM005', 'Καφές φίλτρου 500γρ', 'Filter coffee 500g', 2, NULL, 4, NULL, 3, 1, 3, 10, 1, NULL, NULL, 1, 0, NULL, NULL, NULL, 0, 1, 2),
(6, 1, 'ITM006', 'Μπίρα 500ml', 'Beer 500ml', 2, NULL, 1, NULL, 1, 1, NULL, NULL, NULL, 0.13, 1, 1, 0, NULL, NULL, NULL, 0, 1, 0),
(7, 1, 'ITM007', 'Παλιό είδος', NULL, 3, NULL, NULL, NULL, NULL, 1, NULL, NULL, NULL, NULL, NULL, 1, 0, NULL, NULL, NULL, 1, 1, 0),
(8, 1, 'ITM008', 'Δωροκάρτα e-shop', 'Gift card', NULL, NULL, NULL, NULL, NULL, 1, NULL, NULL, NULL, NULL, NULL, 1, 0, NULL, NULL, NULL, 0, 0, 1))sql",
    R"sql(INSERT INTO ICT (ID, IIOID, INIID, INCIDRETAIL) VALUES (1, 1, 2, 2), (2, 1, 3, 2), (3, 1, 5, 2), (4, 1, 6, 4))sql",
    // Prices of the fiscal year: retail with VAT, wholesale without.
    R"sql(INSERT INTO IIF (ITEID, FYEID, RETAILPRICE, GROSSPRICE, DISCOUNT) VALUES
(1, 1, 15.00, 12.10, 0), (2, 1, 8.50, 7.52, 0), (3, 1, 9.80, 8.67, 0), (4, 1, 4.90, 3.95, 10),
(5, 1, 6.20, 5.49, 0), (6, 1, 1.80, 1.45, 0), (7, 1, 1.00, 0.81, 0), (8, 1, 25.00, 20.16, 0))sql",
    // Codes: the T-shirt's variants, the oil's box, a scale code (bit 2) and a
    // price-embedding scale code (bit 64).
    R"sql(INSERT INTO AIC (ID, COMID, INIID, ALTERNATECODE, CODEDESCRIPTION, ISBARCODE, CLLID, SZLID, DFLID) VALUES
(1, 1, 1, '5201000000011', 'Μπλουζάκι κόκκινο S', 1, 1, 1, 1),
(2, 1, 1, '5201000000028', 'Μπλουζάκι κόκκινο M', 1, 1, 2, 1),
(3, 1, 1, '5201000000035', 'Μπλουζάκι μπλε M', 1, 2, 2, 1),
(4, 1, 1, '5201000000042', 'Μπλουζάκι μπλε L', 1, 2, 3, 1),
(5, 1, 1, '5201000000059', 'Μπλουζάκι μαύρο L', 1, 3, 3, 1),
(6, 1, 2, '5201000000066', 'Ελαιόλαδο 1lt', 1, NULL, NULL, NULL),
(7, 1, 2, '5201000000073', 'Ελαιόλαδο κιβώτιο 12 τεμ.', 1, NULL, NULL, NULL),
(8, 1, 3, '2100003', 'Φέτα ζυγιζόμενη', 3, NULL, NULL, NULL),
(9, 1, 4, '5201000000080', 'Λάμπα LED 10W', 1, NULL, NULL, NULL),
(10, 1, 5, '2200005', 'Καφές με τιμή στον κωδικό', 67, NULL, NULL, NULL),
(11, 1, 6, '5201000000097', 'Μπίρα 500ml', 1, NULL, NULL, NULL))sql",
    // EAN-13 weight codes: prefix, five digits of item code, five of weight, check digit.
    R"sql(INSERT INTO BFC (ID, IIOID, PREFIX, BARCODEFORM) VALUES (1, 1, '21', 'PPCCCCCWWWWWK'))sql",
    // A one-pixel GIF as the picture of two items.
    R"sql(INSERT INTO ITP (ID, INIID, DESCRIPTION, PICTURE) VALUES
(1, 1, 'Φωτογραφία', X'47494638396101000100800000FFFFFF00000021F90401000000002C00000000010001000002024401003B'),
(2, 2, 'Φωτογραφία', X'47494638396101000100800000FFFFFF00000021F90401000000002C00000000010001000002024401003B'))sql",
    // Price lists: one of the main branch, one of the wholesale price category, one valid in
    // the summer of 2026, one disabled. A price of 0 falls back to the item's own price.
    R"sql(INSERT INTO PLL (ID, COMID, ABBREVIATION, NAME, CURID, PLCID, BRAID, WARID, SCOID, VALIDFROM,
  VALIDTO, DISABLED) VALUES
(1, 1, 'PL-HQ', 'Τιμοκατάλογος Κεντρικού', 1, NULL, 1, NULL, NULL, NULL, NULL, 0),
(2, 1, 'PL-XON', 'Τιμοκατάλογος χονδρικής', 1, 2, NULL, NULL, NULL, NULL, NULL, 0),
(3, 1, 'PL-SUMMER', 'Προσφορές καλοκαιριού', 1, NULL, NULL, NULL, NULL, '2026-06-01 00:00:00.000', '2026-08-31 00:00:00.000', 0),
(4, 1, 'PL-OLD', 'Παλιός τιμοκατάλογος', 1, NULL, NULL, NULL, NULL, NULL, NULL, 1))sql",
    R"sql(INSERT INTO PLI (ID, PLLID, DOMAINTYPE, ITEID, RETAILPRICE, GROSSPRICE, DISCOUNT, QTYFROM, QTYTYPE) VALUES
(1, 1, 1, 1, 14.00, 11.29, 0, 0, 1),
(2, 1, 1, 2, 8.20, 7.26, 2, 0, 1),
(3, 1, 1, 4, 4.50, 3.63, 0, 0, 1),
(4, 2, 1, 2, 0, 6.90, 5, 12, 1),
(5, 2, 1, 5, 0, 48.00, 3, 0, 2),
(6, 3, 1, 1, 12.00, 9.68, 0, 0, 1),
(7, 4, 1, 1, 16.00, 12.90, 0, 0, 1))sql",
    // User-defined values: an array and a free text field for items (domain 5) and for
    // customers (domain 2), assigned to the olive oil and to CUS001.
    R"sql(INSERT INTO UDD (ID, ARRAYID, ARRAYNAME, DOMAINTYPE) VALUES
(1, 1, 'Extra field 1', 5), (2, 2, 'Εναλλακτική κατηγορία', 2))sql",
    R"sql(INSERT INTO UDV (ID, UDDID, NAME) VALUES (1, 1, 'Βιολογικό'), (2, 1, 'Συμβατικό'), (3, 2, 'Εστίαση'), (4, 2, 'Ξενοδοχεία'))sql",
    R"sql(INSERT INTO USF (ID, FIELDID, FIELDNAME, DOMAINTYPE, FIELDTYPE) VALUES
(1, 1, 'Αναλυτική περιγραφή', 5, 1), (2, 2, 'Ιστοσελίδα', 2, 1))sql",
    R"sql(INSERT INTO UDA (ID, DOMAINTYPE, DOMAINID, DEFTYPE, AAID, DEFID, ARRAYIDVAL, ALPHANUMVAL) VALUES
(1, 5, 2, 1, 1, NULL, 1, NULL),
(2, 5, 2, 2, 1, 1, NULL, 'Παρθένο ελαιόλαδο ψυχρής έκθλιψης από την Κρήτη'),
(3, 2, 2, 1, 2, NULL, 3, NULL),
(4, 2, 2, 2, 2, 2, NULL, 'www.papadopoulos.example'))sql",

    // Item free fields of the other field types (logical, number, percentage, date) with
    // values of the feta, and a second picture of the T-shirt.
    R"sql(INSERT INTO USF (ID, FIELDID, FIELDNAME, DOMAINTYPE, FIELDTYPE) VALUES
(3, 3, 'Βιολογικό', 5, 2), (4, 4, 'Βάρος τεμαχίου', 5, 3), (5, 5, 'Ποσοστό λιπαρών', 5, 4),
(6, 6, 'Ημερομηνία λήξης', 5, 5))sql",
    R"sql(INSERT INTO UDA (ID, DOMAINTYPE, DOMAINID, DEFTYPE, AAID, DEFID, LOGICALVAL, NUMERICVAL,
  PERCENTVAL, DATEVAL) VALUES
(5, 5, 3, 3, 3, 3, 1, NULL, NULL, NULL), (6, 5, 3, 4, 4, 4, NULL, 12.5, NULL, NULL),
(7, 5, 3, 5, 5, 5, NULL, NULL, 22.4567, NULL),
(8, 5, 3, 6, 6, 6, NULL, NULL, NULL, '2027-03-04 00:00:00.000'))sql",
    R"sql(INSERT INTO ITP (ID, INIID, DESCRIPTION, PICTURE) VALUES (3, 1, 'Πίσω όψη', X'89504E47'))sql",

    // Stock: movement types, balances per store, and the opening count of the T-shirt's
    // variants, whose balance is summed from movements.
    R"sql(INSERT INTO ITT (ID, NAME, UPDIMPORTQTY, UPDIMPORTAMOUNT, UPDEXPORTQTY, UPDEXPORTAMOUNT,
  UPDCUSTORDERQTY, UPDCUSTORDERAMOUNT, DISABLED) VALUES
(1, 'Απογραφή - Πλεόνασμα', 1, 1, 0, 0, 0, 0, 0),
(2, 'Απογραφή - Έλλειμμα', 0, 0, 1, 1, 0, 0, 0),
(3, 'Πωλήσεις', 0, 0, 1, 1, 0, 0, 0),
(4, 'Επιστροφές πωλήσεων', 0, 0, 2, 2, 0, 0, 0),
(5, 'Παραγγελίες πελατών', 0, 0, 0, 0, 1, 1, 0),
(6, 'Αγορές', 1, 1, 0, 0, 0, 0, 0),
(7, 'Ενδοδιακίνηση', 1, 0, 1, 0, 0, 0, 0))sql",
    R"sql(INSERT INTO ICV (INIID, SCOID, FYEID, QTYBALANCE) VALUES
(1, 1, 1, 40), (2, 1, 1, 120), (2, 2, 1, 60), (3, 1, 1, 35.5), (4, 1, 1, 80), (5, 1, 1, 50),
(6, 1, 1, 240), (6, 2, 1, 96))sql",
    R"sql(INSERT INTO IRA (COMID, FYEID, BRAID, WARID, SCOID, INIID, CLLID, SZLID, DFLID, ITTID, ORIGIN,
  CANCELSTATUS, DESCR, ENTRYDATE, LINEQTY, IMPORTQTY, EXPORTQTY, CUSTORDERQTY, SUPORDERQTY,
  UPDUSERDATE) VALUES
(1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 9, 1, '5201000000011', '2026-01-02 00:00:00.000', 10, 10, 0, 0, 0, '2026-01-02 09:00:00.000'),
(1, 1, 1, 1, 1, 1, 1, 2, 1, 1, 9, 1, '5201000000028', '2026-01-02 00:00:00.000', 10, 10, 0, 0, 0, '2026-01-02 09:00:00.000'),
(1, 1, 1, 1, 1, 1, 2, 2, 1, 1, 9, 1, '5201000000035', '2026-01-02 00:00:00.000', 8, 8, 0, 0, 0, '2026-01-02 09:00:00.000'),
(1, 1, 1, 1, 1, 1, 2, 3, 1, 1, 9, 1, '5201000000042', '2026-01-02 00:00:00.000', 7, 7, 0, 0, 0, '2026-01-02 09:00:00.000'),
(1, 1, 1, 1, 1, 1, 3, 3, 1, 1, 9, 1, '5201000000059', '2026-01-02 00:00:00.000', 5, 5, 0, 0, 0, '2026-01-02 09:00:00.000'))sql",

    // Sales: retail receipts are priced with VAT (PRICINGTYPE 2), the other types net.
    R"sql(INSERT INTO IET (ID, NAME, IETYPE) VALUES (1, 'Έσοδα από πωλήσεις', 1), (2, 'Επιστροφές πωλήσεων', 2))sql",
    R"sql(INSERT INTO IVT (ID, ABBREVIATION, NAME, ISSHIPMENTDOC, ISCUSTORDER, STANDSFORSHIPMENT, USEITEMS,
  ITTID, IETID, AADECODE, EBOOKSUPD) VALUES
(1, 'ALP', 'Απόδειξη Λιανικής Πώλησης', 0, 0, 0, 1, 3, 1, '11.1', 1),
(2, 'TIM', 'Τιμολόγιο Πώλησης', 0, 0, 0, 1, 3, 1, '1.1', 1),
(3, 'PIS', 'Πιστωτικό Τιμολόγιο Πώλησης', 0, 0, 0, 1, 4, 2, '5.1', 1),
(4, 'PAR', 'Παραγγελία Πελάτη', 0, 1, 0, 1, 5, NULL, NULL, 0),
(5, 'DA', 'Δελτίο Αποστολής', 1, 0, 0, 1, 3, NULL, NULL, 0),
(6, 'TDA', 'Τιμολόγιο - Δελτίο Αποστολής', 0, 0, 1, 1, 3, 1, '1.1', 1))sql",
    R"sql(INSERT INTO IVC (DTPID, COMID, PRICINGTYPE, PUBLISHERTYPE, DISABLED) VALUES
(1, 1, 2, 1, 0), (2, 1, 1, 1, 0), (3, 1, 1, 1, 0), (4, 1, 1, 1, 0), (5, 1, 1, 1, 0), (6, 1, 1, 1, 0))sql",
    R"sql(INSERT INTO DSR (ID, BRAID, ABBREVIATION, NAME, DISPLAYCODE, NUMBERBYSYS, DISABLED) VALUES
(1, 1, 'ALP-HQ', 'Αποδείξεις λιανικής Κεντρικού', 'ΑΛΠ', 1, 0),
(2, 1, 'TIM-HQ', 'Τιμολόγια Κεντρικού', 'ΤΙΜ', 1, 0),
(3, 1, 'PIS-HQ', 'Πιστωτικά Κεντρικού', 'ΠΙΣ', 1, 0),
(4, 1, 'PAR-HQ', 'Παραγγελίες Κεντρικού', 'ΠΑΡ', 1, 0),
(5, 1, 'DA-HQ', 'Δελτία αποστολής Κεντρικού', 'ΔΑ', 1, 0),
(6, 1, 'TDA-HQ', 'Τιμολόγια - δελτία αποστολής Κεντρικού', 'ΤΔΑ', 1, 0),
(7, 2, 'ALP-BR2', 'Αποδείξεις λιανικής Θεσσαλονίκης', 'ΑΛΠ', 1, 0),
(8, 2, 'TIM-BR2', 'Τιμολόγια Θεσσαλονίκης', 'ΤΙΜ', 1, 0),
(9, 1, 'EIS-HQ', 'Εισπράξεις Κεντρικού', 'ΕΙΣ', 1, 0),
(10, 1, 'EPI-HQ', 'Επιστροφές χρημάτων Κεντρικού', 'ΕΠΙ', 1, 0),
(11, 2, 'EIS-BR2', 'Εισπράξεις Θεσσαλονίκης', 'ΕΙΣ', 1, 0),
(12, 2, 'EPI-BR2', 'Επιστροφές χρημάτων Θεσσαλονίκης', 'ΕΠΙ', 1, 0))sql",
    R"sql(INSERT INTO ISR (COMID, IVTID, DSRID, SUGGESTED) VALUES
(1, 1, 1, 1), (1, 2, 2, 1), (1, 3, 3, 1), (1, 4, 4, 1), (1, 5, 5, 1), (1, 6, 6, 1), (1, 1, 7, 1),
(1, 2, 8, 1))sql",
    // Price lists by branch; cash and credit sales; 2% discount for cash payment.
    R"sql(INSERT INTO SLO (ID, COMID, DEFINEPRICELIST, PWMODE, CASHPLCID, CREDITPLCID,
  CASHPAYMENTDISCPCNT, CREDITPAYMENTDISCPCNT) VALUES (1, 1, 2, 1, NULL, 2, 2, 0))sql",
    R"sql(INSERT INTO FUA (ID, COMID, BRAID, ABBREVIATION, NAME) VALUES
(1, 1, 1, 'CASH1', 'Ταμείο Κεντρικού'),
(2, 1, 1, 'CARD1', 'Λογαριασμός καρτών Κεντρικού'),
(3, 1, 2, 'CASH2', 'Ταμείο Θεσσαλονίκης'),
(4, 1, 2, 'CARD2', 'Λογαριασμός καρτών Θεσσαλονίκης'))sql",

    // Collections.
    R"sql(INSERT INTO RTY (ID, ABBREVIATION, NAME) VALUES (1, 'EIS', 'Είσπραξη από πελάτη'), (2, 'EPI', 'Επιστροφή χρημάτων σε πελάτη'))sql",
    R"sql(INSERT INTO RTC (RTYID, COMID, PUBLISHERTYPE, DISABLED) VALUES (1, 1, 1, 0), (2, 1, 1, 0))sql",
    R"sql(INSERT INTO RSR (COMID, RTYID, DSRID, SUGGESTED) VALUES (1, 1, 9, 1), (1, 2, 10, 1), (1, 1, 11, 1), (1, 2, 12, 1))sql",

    // Purchases and warehouse documents.
    R"sql(INSERT INTO PDT (ID, ABBREVIATION, NAME, ISSHIPMENTDOC, ISSUPORDER, AADECODE, EBOOKSUPD) VALUES
(1, 'TAG', 'Τιμολόγιο Αγοράς', 0, 0, '13.1', 1),
(2, 'DAG', 'Δελτίο Αποστολής Προμηθευτή', 1, 0, NULL, 0),
(3, 'PAG', 'Παραγγελία σε Προμηθευτή', 0, 1, NULL, 0))sql",
    R"sql(INSERT INTO PRC (DTPID, COMID, DISABLED) VALUES (1, 1, 0), (2, 1, 0), (3, 1, 0))sql",
    R"sql(INSERT INTO SHT (ID, ABBREVIATION, NAME) VALUES (1, 'DEA', 'Δελτίο Ενδοδιακίνησης'), (2, 'DKA', 'Δελτίο Καταστροφής'))sql",
    R"sql(INSERT INTO SVC (DTPID, COMID, DISABLED) VALUES (1, 1, 0), (2, 1, 0))sql",
};

} // namespace

const std::vector<std::string_view> &MinimalData() { return LoginData; }

const std::vector<std::string_view> &DemoData() {
  static const std::vector<std::string_view> statements = [] {
    std::vector<std::string_view> all(LoginData);
    all.insert(all.end(), MasterData.begin(), MasterData.end());
    return all;
  }();
  return statements;
}

} // namespace vq::sandbox
