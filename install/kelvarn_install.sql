// Kelvarn database structure 1.70 in the Access dialect;
// The SQL console converts each statement for the connected platform;
// A marker at the start runs a statement on that platform only;
// Keep double slashes and semicolons out of statements and comments;
// Saved in Windows-1250 with CR LF line ends;

// Firebird and Oracle fill the id columns from these sequences;
#FIREBIRD_ONLY CREATE SEQUENCE tbl_doklad_seq_id;
#FIREBIRD_ONLY CREATE SEQUENCE tbl_polozky_seq_id;
#FIREBIRD_ONLY CREATE SEQUENCE tbl_rady_seq_id;
#FIREBIRD_ONLY CREATE SEQUENCE tbl_hlavnikniha_seq_id;
#FIREBIRD_ONLY CREATE SEQUENCE tbl_knihajizd_seq_id;
#FIREBIRD_ONLY CREATE SEQUENCE tbl_majetek_seq_id;
#FIREBIRD_ONLY CREATE SEQUENCE tbl_odpisy_seq_id;
#FIREBIRD_ONLY CREATE SEQUENCE tbl_zbozi_seq_id;
#FIREBIRD_ONLY CREATE SEQUENCE tbl_partner_seq_id;
#FIREBIRD_ONLY CREATE SEQUENCE tbl_Zakazky_seq_id;
#FIREBIRD_ONLY CREATE SEQUENCE tbl_filtry_seq_id;
#ORACLE_ONLY CREATE SEQUENCE tbl_doklad_seq_id START WITH 1 INCREMENT BY 1 NOCACHE;
#ORACLE_ONLY CREATE SEQUENCE tbl_polozky_seq_id START WITH 1 INCREMENT BY 1 NOCACHE;
#ORACLE_ONLY CREATE SEQUENCE tbl_rady_seq_id START WITH 1 INCREMENT BY 1 NOCACHE;
#ORACLE_ONLY CREATE SEQUENCE tbl_hlavnikniha_seq_id START WITH 1 INCREMENT BY 1 NOCACHE;
#ORACLE_ONLY CREATE SEQUENCE tbl_knihajizd_seq_id START WITH 1 INCREMENT BY 1 NOCACHE;
#ORACLE_ONLY CREATE SEQUENCE tbl_majetek_seq_id START WITH 1 INCREMENT BY 1 NOCACHE;
#ORACLE_ONLY CREATE SEQUENCE tbl_odpisy_seq_id START WITH 1 INCREMENT BY 1 NOCACHE;
#ORACLE_ONLY CREATE SEQUENCE tbl_zbozi_seq_id START WITH 1 INCREMENT BY 1 NOCACHE;
#ORACLE_ONLY CREATE SEQUENCE tbl_partner_seq_id START WITH 1 INCREMENT BY 1 NOCACHE;
#ORACLE_ONLY CREATE SEQUENCE tbl_Zakazky_seq_id START WITH 1 INCREMENT BY 1 NOCACHE;
#ORACLE_ONLY CREATE SEQUENCE tbl_filtry_seq_id START WITH 1 INCREMENT BY 1 NOCACHE;

// tbl_system - database version, one row with id 1;
CREATE TABLE tbl_system (
id INT NOT NULL PRIMARY KEY,
verze_databaze VARCHAR(20)
);
#MYSQL_ONLY ALTER TABLE tbl_system ENGINE=InnoDB, CONVERT TO CHARACTER SET utf8mb4 COLLATE utf8mb4_czech_ci;
INSERT INTO tbl_system (id, verze_databaze) VALUES (1, '1.70');

// tbl_podnikatel - the entrepreneur, one row with id 1;
CREATE TABLE tbl_podnikatel (
id INT NOT NULL PRIMARY KEY,
nazev VARCHAR(100),
nazev_upresneni VARCHAR(100),
ulice VARCHAR(100),
mesto VARCHAR(40),
psc VARCHAR(6),
okres VARCHAR(40),
kraj VARCHAR(40),
stat VARCHAR(50),
ico VARCHAR(20),
dic VARCHAR(20),
email VARCHAR(50),
telefon VARCHAR(50),
www VARCHAR(100),
cislo_uctu VARCHAR(34),
cislo_uctu_IBAN VARCHAR(34),
splatnost_fa INT,
mena VARCHAR(5),
platce_dph VARCHAR(3),
kod_haler VARCHAR(25),
spisova_znacka VARCHAR(150),
dph0 FLOAT,
dph5 FLOAT,
dph19 FLOAT,
zpusob_uhrady VARCHAR(25),
dph_text1 VARCHAR(250),
dph_text2 VARCHAR(250),
podpis VARCHAR(25),
spz VARCHAR(11),
ridic VARCHAR(25),
test SMALLINT,
dateTS0 DATETIME,
dateTS1 DATETIME
);
#MYSQL_ONLY ALTER TABLE tbl_podnikatel ENGINE=InnoDB, CONVERT TO CHARACTER SET utf8mb4 COLLATE utf8mb4_czech_ci;
INSERT INTO tbl_podnikatel (id, nazev, test) VALUES (1, '', 0);

// tbl_doklad - documents;
CREATE TABLE tbl_doklad (
id COUNTER NOT NULL PRIMARY KEY,
cislo_dokladu VARCHAR(18),
variabilni_symbol VARCHAR(10),
cislo_dokladu_puvodni VARCHAR(20),
doklad_typ SMALLINT,
datum_vystaveni DATETIME,
datum_zdanitelne_plneni DATETIME,
datum_uplatneni_plneni DATETIME,
datum_spatnosti DATETIME,
celkem_bez_dph_0 FLOAT,
celkem_bez_dph_5 FLOAT,
celkem_bez_dph_19 FLOAT,
celkem_dph_0 FLOAT,
celkem_dph_5 FLOAT,
celkem_dph_19 FLOAT,
celkem_s_dph_0 FLOAT,
celkem_s_dph_5 FLOAT,
celkem_s_dph_19 FLOAT,
celkem_doklad FLOAT,
celkem_doklad_dph FLOAT,
celkem_doklad_s_dph FLOAT,
zbyva_uhradit FLOAT,
zakazka VARCHAR(25),
id_tbl_zakazka INT,
id_tbl_partner INT,
poznamka VARCHAR(80),
poznamka2 VARCHAR(100),
odb_nazev_firmy VARCHAR(100),
odb_nazev_upresneni VARCHAR(100),
odb_ulice VARCHAR(45),
odb_mesto VARCHAR(40),
odb_psc VARCHAR(6),
odb_ic VARCHAR(20),
odb_dic VARCHAR(20),
odb_kontakt VARCHAR(50),
odb_cislo_uctu VARCHAR(34),
odb_cislo_uctu_IBAN VARCHAR(34),
odb_dodani_nazev VARCHAR(100),
odb_dodani_nazev2 VARCHAR(100),
odb_dodani_ulice VARCHAR(45),
odb_dodani_mesto VARCHAR(40),
odb_dodani_psc VARCHAR(6),
odb_dodani_kontakt VARCHAR(50),
dod_nazev_firmy VARCHAR(100),
dod_nazev_upresneni VARCHAR(100),
dod_ulice VARCHAR(45),
dod_mesto VARCHAR(40),
dod_psc VARCHAR(6),
dod_ic VARCHAR(20),
dod_dic VARCHAR(20),
dod_cislo_uctu VARCHAR(34),
dod_cislo_uctu_IBAN VARCHAR(34),
mena VARCHAR(5),
kurz FLOAT,
zpusob_uhrady VARCHAR(25),
podpis VARCHAR(25),
podklad_dph VARCHAR(3),
pohledavka_zavazek VARCHAR(3),
doklad_vytisknut SMALLINT,
doklad_dsazba5 FLOAT,
doklad_dsazba19 FLOAT,
dateTS0 DATETIME,
dateTS1 DATETIME
);
#MYSQL_ONLY ALTER TABLE tbl_doklad ENGINE=InnoDB, CONVERT TO CHARACTER SET utf8mb4 COLLATE utf8mb4_czech_ci;
CREATE INDEX idx_doklad_cislo ON tbl_doklad (cislo_dokladu);
CREATE INDEX idx_doklad_vs ON tbl_doklad (variabilni_symbol);
CREATE INDEX idx_doklad_typ ON tbl_doklad (doklad_typ);
// covering indexes of the open items and the VAT sums (per type and year);
CREATE INDEX idx_doklad_otevrene ON tbl_doklad (doklad_typ, pohledavka_zavazek, zbyva_uhradit);
CREATE INDEX idx_doklad_dph ON tbl_doklad (doklad_typ, datum_uplatneni_plneni, podklad_dph, cislo_dokladu, celkem_bez_dph_5, celkem_dph_5, celkem_bez_dph_19, celkem_dph_19, celkem_bez_dph_0);

// tbl_polozky - item lines of documents;
CREATE TABLE tbl_polozky (
id COUNTER NOT NULL PRIMARY KEY,
id_tbl_doklad INT,
cislo_radku SMALLINT,
kod_zbozi VARCHAR(25),
id_tbl_zbozi INT,
popis VARCHAR(100),
mnozstvi FLOAT,
mj VARCHAR(10),
sleva FLOAT,
cena_jednotka FLOAT,
cena_celkem_bez_dph FLOAT,
dph FLOAT,
dph_celkem FLOAT,
cena_celkem_s_dph FLOAT,
zaruka INT,
seriove_cislo VARCHAR(80),
poznamka VARCHAR(100),
dateTS0 DATETIME,
dateTS1 DATETIME
);
#MYSQL_ONLY ALTER TABLE tbl_polozky ENGINE=InnoDB, CONVERT TO CHARACTER SET utf8mb4 COLLATE utf8mb4_czech_ci;
CREATE INDEX idx_polozky_doklad ON tbl_polozky (id_tbl_doklad);

// tbl_hlavnikniha - cash book;
CREATE TABLE tbl_hlavnikniha (
id COUNTER NOT NULL PRIMARY KEY,
datum DATETIME,
doklad VARCHAR(20),
popis VARCHAR(60),
prijem_danovy FLOAT,
prijem_nedanovy FLOAT,
vydaj_danovy FLOAT,
vydaj_nedanovy FLOAT,
prijem_6 FLOAT,
prijem_7 FLOAT,
prijem_8 FLOAT,
prijem_9 FLOAT,
prijem_10 FLOAT,
vydaj_6 FLOAT,
vydaj_7 FLOAT,
vydaj_8 FLOAT,
vydaj_9 FLOAT,
vydaj_10 FLOAT,
id_tbl_doklad INT,
cislo_dokladu VARCHAR(18),
dateTS0 DATETIME,
dateTS1 DATETIME
);
#MYSQL_ONLY ALTER TABLE tbl_hlavnikniha ENGINE=InnoDB, CONVERT TO CHARACTER SET utf8mb4 COLLATE utf8mb4_czech_ci;
CREATE INDEX idx_hlavnikniha_doklad ON tbl_hlavnikniha (doklad);
CREATE INDEX idx_hlavnikniha_id_doklad ON tbl_hlavnikniha (id_tbl_doklad);
CREATE INDEX idx_hlavnikniha_datum ON tbl_hlavnikniha (datum, prijem_danovy, prijem_nedanovy, vydaj_danovy, vydaj_nedanovy);

// tbl_knihajizd - vehicle log;
CREATE TABLE tbl_knihajizd (
id COUNTER NOT NULL PRIMARY KEY,
datum DATETIME,
odkud VARCHAR(40),
kam VARCHAR(40),
ucel VARCHAR(40),
start_stav INT,
end_stav INT,
pocet_km INT,
spz VARCHAR(11),
ridic VARCHAR(25),
typ VARCHAR(3),
poznamka VARCHAR(50),
dateTS0 DATETIME,
dateTS1 DATETIME
);
#MYSQL_ONLY ALTER TABLE tbl_knihajizd ENGINE=InnoDB, CONVERT TO CHARACTER SET utf8mb4 COLLATE utf8mb4_czech_ci;

// tbl_majetek - fixed assets;
CREATE TABLE tbl_majetek (
id COUNTER NOT NULL PRIMARY KEY,
typ VARCHAR(10),
cislo VARCHAR(30),
nazev VARCHAR(80),
zpusob_nabyti VARCHAR(80),
datum_zarazeni DATETIME,
datum_vyrazeni DATETIME,
zpusob_vyrazeni VARCHAR(80),
skupina INT,
zpusob_odepisovani VARCHAR(15),
sazba FLOAT,
vstupni_cena FLOAT,
zustatkova_cena FLOAT,
opravky FLOAT,
poznamka VARCHAR(100),
dateTS0 DATETIME,
dateTS1 DATETIME
);
#MYSQL_ONLY ALTER TABLE tbl_majetek ENGINE=InnoDB, CONVERT TO CHARACTER SET utf8mb4 COLLATE utf8mb4_czech_ci;

// tbl_odpisy - yearly depreciation rows of an asset;
// MySQL has no MEMO type, so one variant per platform;
#ACCESS_ONLY CREATE TABLE tbl_odpisy (
id COUNTER NOT NULL PRIMARY KEY,
id_tbl_majetek INT,
rok VARCHAR(10),
odpis FLOAT,
zustatkova_cena FLOAT,
opravky FLOAT,
vypocet MEMO,
dateTS0 DATETIME,
dateTS1 DATETIME
);
#SQL2005_ONLY CREATE TABLE tbl_odpisy (
id COUNTER NOT NULL PRIMARY KEY,
id_tbl_majetek INT,
rok VARCHAR(10),
odpis FLOAT,
zustatkova_cena FLOAT,
opravky FLOAT,
vypocet MEMO,
dateTS0 DATETIME,
dateTS1 DATETIME
);
#ORACLE_ONLY CREATE TABLE tbl_odpisy (
id COUNTER NOT NULL PRIMARY KEY,
id_tbl_majetek INT,
rok VARCHAR(10),
odpis FLOAT,
zustatkova_cena FLOAT,
opravky FLOAT,
vypocet MEMO,
dateTS0 DATETIME,
dateTS1 DATETIME
);
#FIREBIRD_ONLY CREATE TABLE tbl_odpisy (
id COUNTER NOT NULL PRIMARY KEY,
id_tbl_majetek INT,
rok VARCHAR(10),
odpis FLOAT,
zustatkova_cena FLOAT,
opravky FLOAT,
vypocet MEMO,
dateTS0 DATETIME,
dateTS1 DATETIME
);
#MYSQL_ONLY CREATE TABLE tbl_odpisy (
id COUNTER NOT NULL PRIMARY KEY,
id_tbl_majetek INT,
rok VARCHAR(10),
odpis FLOAT,
zustatkova_cena FLOAT,
opravky FLOAT,
vypocet LONGTEXT,
dateTS0 DATETIME,
dateTS1 DATETIME
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_czech_ci;
CREATE INDEX idx_odpisy_majetek ON tbl_odpisy (id_tbl_majetek);

// tbl_zbozi - goods and services;
// MySQL has no MEMO type, so one variant per platform;
#ACCESS_ONLY CREATE TABLE tbl_zbozi (
id COUNTER NOT NULL PRIMARY KEY,
kod_zbozi VARCHAR(25),
popis VARCHAR(100),
popis_dlouhy MEMO,
mj VARCHAR(10),
mnozstvi FLOAT,
dph FLOAT,
cena_jednotka FLOAT,
cena_poplatek1 FLOAT,
cena_poplatek2 FLOAT,
sleva FLOAT,
zaruka INT,
dateTS0 DATETIME,
dateTS1 DATETIME
);
#SQL2005_ONLY CREATE TABLE tbl_zbozi (
id COUNTER NOT NULL PRIMARY KEY,
kod_zbozi VARCHAR(25),
popis VARCHAR(100),
popis_dlouhy MEMO,
mj VARCHAR(10),
mnozstvi FLOAT,
dph FLOAT,
cena_jednotka FLOAT,
cena_poplatek1 FLOAT,
cena_poplatek2 FLOAT,
sleva FLOAT,
zaruka INT,
dateTS0 DATETIME,
dateTS1 DATETIME
);
#ORACLE_ONLY CREATE TABLE tbl_zbozi (
id COUNTER NOT NULL PRIMARY KEY,
kod_zbozi VARCHAR(25),
popis VARCHAR(100),
popis_dlouhy MEMO,
mj VARCHAR(10),
mnozstvi FLOAT,
dph FLOAT,
cena_jednotka FLOAT,
cena_poplatek1 FLOAT,
cena_poplatek2 FLOAT,
sleva FLOAT,
zaruka INT,
dateTS0 DATETIME,
dateTS1 DATETIME
);
#FIREBIRD_ONLY CREATE TABLE tbl_zbozi (
id COUNTER NOT NULL PRIMARY KEY,
kod_zbozi VARCHAR(25),
popis VARCHAR(100),
popis_dlouhy MEMO,
mj VARCHAR(10),
mnozstvi FLOAT,
dph FLOAT,
cena_jednotka FLOAT,
cena_poplatek1 FLOAT,
cena_poplatek2 FLOAT,
sleva FLOAT,
zaruka INT,
dateTS0 DATETIME,
dateTS1 DATETIME
);
#MYSQL_ONLY CREATE TABLE tbl_zbozi (
id COUNTER NOT NULL PRIMARY KEY,
kod_zbozi VARCHAR(25),
popis VARCHAR(100),
popis_dlouhy LONGTEXT,
mj VARCHAR(10),
mnozstvi FLOAT,
dph FLOAT,
cena_jednotka FLOAT,
cena_poplatek1 FLOAT,
cena_poplatek2 FLOAT,
sleva FLOAT,
zaruka INT,
dateTS0 DATETIME,
dateTS1 DATETIME
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_czech_ci;

// tbl_partner - business partners;
// MySQL has no MEMO type, so one variant per platform;
#ACCESS_ONLY CREATE TABLE tbl_partner (
id COUNTER NOT NULL PRIMARY KEY,
kod_partnera VARCHAR(25),
nazev_firmy VARCHAR(100),
nazev_upresneni VARCHAR(100),
ulice VARCHAR(45),
mesto VARCHAR(40),
psc VARCHAR(6),
ic VARCHAR(20),
dic VARCHAR(20),
cislo_uctu VARCHAR(34),
cislo_uctu_IBAN VARCHAR(34),
kontakt VARCHAR(50),
dodani_nazev VARCHAR(100),
dodani_nazev2 VARCHAR(100),
dodani_ulice VARCHAR(45),
dodani_mesto VARCHAR(40),
dodani_psc VARCHAR(6),
splatnost_fa INT,
email VARCHAR(50),
telefon VARCHAR(50),
www VARCHAR(100),
poznamka VARCHAR(80),
poznamka_dlouha MEMO,
dateTS0 DATETIME,
dateTS1 DATETIME
);
#SQL2005_ONLY CREATE TABLE tbl_partner (
id COUNTER NOT NULL PRIMARY KEY,
kod_partnera VARCHAR(25),
nazev_firmy VARCHAR(100),
nazev_upresneni VARCHAR(100),
ulice VARCHAR(45),
mesto VARCHAR(40),
psc VARCHAR(6),
ic VARCHAR(20),
dic VARCHAR(20),
cislo_uctu VARCHAR(34),
cislo_uctu_IBAN VARCHAR(34),
kontakt VARCHAR(50),
dodani_nazev VARCHAR(100),
dodani_nazev2 VARCHAR(100),
dodani_ulice VARCHAR(45),
dodani_mesto VARCHAR(40),
dodani_psc VARCHAR(6),
splatnost_fa INT,
email VARCHAR(50),
telefon VARCHAR(50),
www VARCHAR(100),
poznamka VARCHAR(80),
poznamka_dlouha MEMO,
dateTS0 DATETIME,
dateTS1 DATETIME
);
#ORACLE_ONLY CREATE TABLE tbl_partner (
id COUNTER NOT NULL PRIMARY KEY,
kod_partnera VARCHAR(25),
nazev_firmy VARCHAR(100),
nazev_upresneni VARCHAR(100),
ulice VARCHAR(45),
mesto VARCHAR(40),
psc VARCHAR(6),
ic VARCHAR(20),
dic VARCHAR(20),
cislo_uctu VARCHAR(34),
cislo_uctu_IBAN VARCHAR(34),
kontakt VARCHAR(50),
dodani_nazev VARCHAR(100),
dodani_nazev2 VARCHAR(100),
dodani_ulice VARCHAR(45),
dodani_mesto VARCHAR(40),
dodani_psc VARCHAR(6),
splatnost_fa INT,
email VARCHAR(50),
telefon VARCHAR(50),
www VARCHAR(100),
poznamka VARCHAR(80),
poznamka_dlouha MEMO,
dateTS0 DATETIME,
dateTS1 DATETIME
);
#FIREBIRD_ONLY CREATE TABLE tbl_partner (
id COUNTER NOT NULL PRIMARY KEY,
kod_partnera VARCHAR(25),
nazev_firmy VARCHAR(100),
nazev_upresneni VARCHAR(100),
ulice VARCHAR(45),
mesto VARCHAR(40),
psc VARCHAR(6),
ic VARCHAR(20),
dic VARCHAR(20),
cislo_uctu VARCHAR(34),
cislo_uctu_IBAN VARCHAR(34),
kontakt VARCHAR(50),
dodani_nazev VARCHAR(100),
dodani_nazev2 VARCHAR(100),
dodani_ulice VARCHAR(45),
dodani_mesto VARCHAR(40),
dodani_psc VARCHAR(6),
splatnost_fa INT,
email VARCHAR(50),
telefon VARCHAR(50),
www VARCHAR(100),
poznamka VARCHAR(80),
poznamka_dlouha MEMO,
dateTS0 DATETIME,
dateTS1 DATETIME
);
#MYSQL_ONLY CREATE TABLE tbl_partner (
id COUNTER NOT NULL PRIMARY KEY,
kod_partnera VARCHAR(25),
nazev_firmy VARCHAR(100),
nazev_upresneni VARCHAR(100),
ulice VARCHAR(45),
mesto VARCHAR(40),
psc VARCHAR(6),
ic VARCHAR(20),
dic VARCHAR(20),
cislo_uctu VARCHAR(34),
cislo_uctu_IBAN VARCHAR(34),
kontakt VARCHAR(50),
dodani_nazev VARCHAR(100),
dodani_nazev2 VARCHAR(100),
dodani_ulice VARCHAR(45),
dodani_mesto VARCHAR(40),
dodani_psc VARCHAR(6),
splatnost_fa INT,
email VARCHAR(50),
telefon VARCHAR(50),
www VARCHAR(100),
poznamka VARCHAR(80),
poznamka_dlouha LONGTEXT,
dateTS0 DATETIME,
dateTS1 DATETIME
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_czech_ci;

// tbl_zakazka - orders;
// MySQL has no MEMO type, so one variant per platform;
#ACCESS_ONLY CREATE TABLE tbl_zakazka (
id COUNTER NOT NULL PRIMARY KEY,
zakazka VARCHAR(25),
popis MEMO,
datum_zaevidovani DATETIME,
datum_pozadovane DATETIME,
datum_ukonceni DATETIME,
datum_fakturace DATETIME,
poznamka VARCHAR(80),
dateTS0 DATETIME,
dateTS1 DATETIME
);
#SQL2005_ONLY CREATE TABLE tbl_zakazka (
id COUNTER NOT NULL PRIMARY KEY,
zakazka VARCHAR(25),
popis MEMO,
datum_zaevidovani DATETIME,
datum_pozadovane DATETIME,
datum_ukonceni DATETIME,
datum_fakturace DATETIME,
poznamka VARCHAR(80),
dateTS0 DATETIME,
dateTS1 DATETIME
);
#ORACLE_ONLY CREATE TABLE tbl_zakazka (
id COUNTER NOT NULL PRIMARY KEY,
zakazka VARCHAR(25),
popis MEMO,
datum_zaevidovani DATETIME,
datum_pozadovane DATETIME,
datum_ukonceni DATETIME,
datum_fakturace DATETIME,
poznamka VARCHAR(80),
dateTS0 DATETIME,
dateTS1 DATETIME
);
#FIREBIRD_ONLY CREATE TABLE tbl_zakazka (
id COUNTER NOT NULL PRIMARY KEY,
zakazka VARCHAR(25),
popis MEMO,
datum_zaevidovani DATETIME,
datum_pozadovane DATETIME,
datum_ukonceni DATETIME,
datum_fakturace DATETIME,
poznamka VARCHAR(80),
dateTS0 DATETIME,
dateTS1 DATETIME
);
#MYSQL_ONLY CREATE TABLE tbl_zakazka (
id COUNTER NOT NULL PRIMARY KEY,
zakazka VARCHAR(25),
popis LONGTEXT,
datum_zaevidovani DATETIME,
datum_pozadovane DATETIME,
datum_ukonceni DATETIME,
datum_fakturace DATETIME,
poznamka VARCHAR(80),
dateTS0 DATETIME,
dateTS1 DATETIME
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_czech_ci;

// tbl_filtry - user filters;
// MySQL has no MEMO type, so one variant per platform;
#ACCESS_ONLY CREATE TABLE tbl_filtry (
id COUNTER NOT NULL PRIMARY KEY,
nazev VARCHAR(100),
definice MEMO,
id_panel SMALLINT,
dateTS0 DATETIME,
dateTS1 DATETIME
);
#SQL2005_ONLY CREATE TABLE tbl_filtry (
id COUNTER NOT NULL PRIMARY KEY,
nazev VARCHAR(100),
definice MEMO,
id_panel SMALLINT,
dateTS0 DATETIME,
dateTS1 DATETIME
);
#ORACLE_ONLY CREATE TABLE tbl_filtry (
id COUNTER NOT NULL PRIMARY KEY,
nazev VARCHAR(100),
definice MEMO,
id_panel SMALLINT,
dateTS0 DATETIME,
dateTS1 DATETIME
);
#FIREBIRD_ONLY CREATE TABLE tbl_filtry (
id COUNTER NOT NULL PRIMARY KEY,
nazev VARCHAR(100),
definice MEMO,
id_panel SMALLINT,
dateTS0 DATETIME,
dateTS1 DATETIME
);
#MYSQL_ONLY CREATE TABLE tbl_filtry (
id COUNTER NOT NULL PRIMARY KEY,
nazev VARCHAR(100),
definice LONGTEXT,
id_panel SMALLINT,
dateTS0 DATETIME,
dateTS1 DATETIME
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_czech_ci;

// tbl_rady - document number series;
CREATE TABLE tbl_rady (
id COUNTER NOT NULL PRIMARY KEY,
zkratka VARCHAR(20),
cislo INT,
dateTS0 DATETIME,
dateTS1 DATETIME
);
#MYSQL_ONLY ALTER TABLE tbl_rady ENGINE=InnoDB, CONVERT TO CHARACTER SET utf8mb4 COLLATE utf8mb4_czech_ci;
CREATE INDEX idx_rady_zkratka ON tbl_rady (zkratka);
