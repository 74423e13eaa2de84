// Kelvarn demo data - makes a TEST database with sample records;
// Run once after kelvarn_install.sql on a new database;
// Rows get explicit ids, the sequences are moved past them at the end;
// Keep double slashes and semicolons out of statements and comments;
// Saved in Windows-1250 with CR LF line ends;

// The entrepreneur, test 1 marks a TEST database;
UPDATE tbl_podnikatel SET nazev='Jiøí Dvoøák - truhláøství', nazev_upresneni='Nábytek na míru', ulice='Žižkova 1234/5', mesto='Tøebíè', psc='674 01', okres='Tøebíè', kraj='Kraj Vysoèina', stat='Èeská republika', ico='27384519', dic='CZ7511283648', email='dvorak@truhlarstvi-dvorak.cz', telefon='+420 568 841 257', www='www.truhlarstvi-dvorak.cz', cislo_uctu='273850/0100', cislo_uctu_IBAN='CZ7301000000000000273850', splatnost_fa=14, mena='Kè', platce_dph='Ano', kod_haler='1', spisova_znacka='Živnostenský rejstøík MìÚ Tøebíè', dph0=0, dph5=12, dph19=21, zpusob_uhrady='bank. pøevodem', podpis='Jiøí Dvoøák', spz='1J2 3456', ridic='Jiøí Dvoøák', test=1 WHERE id=1;

// Business partners;
#SQL2005_ONLY SET IDENTITY_INSERT tbl_partner ON;
INSERT INTO tbl_partner (id, kod_partnera, nazev_firmy, nazev_upresneni, ulice, mesto, psc, ic, dic, cislo_uctu, cislo_uctu_IBAN, kontakt, splatnost_fa, email, telefon, www, poznamka, poznamka_dlouha) VALUES (1, 'P001', 'Stavebniny Øehoø s.r.o.', 'Velkoobchod se døevem', 'Nádražní 15', 'Jihlava', '586 01', '45198306', 'CZ45198306', '1029384778/0300', 'CZ9003000000001029384778', 'Petr Øehoø', 30, 'objednavky@stavebniny-rehor.cz', '+420 567 310 452', 'www.stavebniny-rehor.cz', 'Dodavatel øeziva', 'Slevu 5 % dává pøi odbìru nad 20 000 Kè.');
INSERT INTO tbl_partner (id, kod_partnera, nazev_firmy, nazev_upresneni, ulice, mesto, psc, ic, dic, cislo_uctu, cislo_uctu_IBAN, kontakt, dodani_nazev, dodani_nazev2, dodani_ulice, dodani_mesto, dodani_psc, splatnost_fa, email, telefon, poznamka) VALUES (2, 'P002', 'Penzion U Šumavského jezera', 'Ludmila Èermáková', 'Železná Ruda 88', 'Železná Ruda', '340 04', '06142877', '', '2400112238/0800', 'CZ9808000000002400112238', 'Ludmila Èermáková', 'Penzion U Šumavského jezera', 'Dependance', 'Špièák 12', 'Železná Ruda', '340 04', 14, 'penzion@sumavske-jezero.cz', '+420 376 397 115', 'Stálá zákaznice');
INSERT INTO tbl_partner (id, kod_partnera, nazev_firmy, ulice, mesto, psc, ic, dic, splatnost_fa, email, telefon, poznamka) VALUES (3, 'P003', 'Ing. Žaneta Køížová', 'Hybešova 42', 'Brno', '602 00', '', '', 7, 'zaneta.krizova@example.cz', '+420 604 112 938', 'Soukromá osoba');
#SQL2005_ONLY SET IDENTITY_INSERT tbl_partner OFF;

// Goods and services;
#SQL2005_ONLY SET IDENTITY_INSERT tbl_zbozi ON;
INSERT INTO tbl_zbozi (id, kod_zbozi, popis, popis_dlouhy, mj, mnozstvi, dph, cena_jednotka, cena_poplatek1, cena_poplatek2, sleva, zaruka) VALUES (1, 'STUL-DUB', 'Stùl jídelní dubový 160x90', 'Masivní dub, olejovaný povrch, ètyøi soustružené nohy.', 'ks', 1, 21, 12500, 0, 0, 0, 24);
INSERT INTO tbl_zbozi (id, kod_zbozi, popis, popis_dlouhy, mj, mnozstvi, dph, cena_jednotka, cena_poplatek1, cena_poplatek2, sleva, zaruka) VALUES (2, 'ZIDLE-BUK', 'Židle buková èalounìná', 'Bukové døevo, sedák potažený béžovou látkou.', 'ks', 4, 21, 2300, 0, 0, 0, 24);
INSERT INTO tbl_zbozi (id, kod_zbozi, popis, popis_dlouhy, mj, mnozstvi, dph, cena_jednotka, cena_poplatek1, cena_poplatek2, sleva, zaruka) VALUES (3, 'MONTAZ', 'Montáž nábytku', 'Práce truhláøe u zákazníka.', 'hod', 1, 21, 450, 0, 0, 0, 0);
INSERT INTO tbl_zbozi (id, kod_zbozi, popis, popis_dlouhy, mj, mnozstvi, dph, cena_jednotka, cena_poplatek1, cena_poplatek2, sleva, zaruka) VALUES (4, 'DOPRAVA', 'Doprava', 'Po Tøebíèi zdarma, jinak úètováno za každý ujetý kilometr.', 'km', 1, 21, 14, 0, 0, 0, 0);
#SQL2005_ONLY SET IDENTITY_INSERT tbl_zbozi OFF;

// Orders, their dates follow per platform;
#SQL2005_ONLY SET IDENTITY_INSERT tbl_zakazka ON;
INSERT INTO tbl_zakazka (id, zakazka, popis, poznamka) VALUES (1, 'ZAK-2026-00001', 'Kuchyòská linka na míru, dubová deska a bílá lakovaná dvíøka.', 'Penzion U Šumavského jezera');
INSERT INTO tbl_zakazka (id, zakazka, popis, poznamka) VALUES (2, 'ZAK-2026-00002', 'Vestavìná skøíò do pøedsínì s posuvnými dveømi.', 'Ing. Žaneta Køížová, zamìøeno');
#SQL2005_ONLY SET IDENTITY_INSERT tbl_zakazka OFF;
#ACCESS_ONLY UPDATE tbl_zakazka SET datum_zaevidovani=#2026/01/15#, datum_pozadovane=#2026/03/31# WHERE id=1;
#ACCESS_ONLY UPDATE tbl_zakazka SET datum_zaevidovani=#2026/02/03#, datum_pozadovane=#2026/04/30# WHERE id=2;
#SQL2005_ONLY UPDATE tbl_zakazka SET datum_zaevidovani='20260115', datum_pozadovane='20260331' WHERE id=1;
#SQL2005_ONLY UPDATE tbl_zakazka SET datum_zaevidovani='20260203', datum_pozadovane='20260430' WHERE id=2;
#ORACLE_ONLY UPDATE tbl_zakazka SET datum_zaevidovani=TO_DATE('2026-01-15','YYYY-MM-DD'), datum_pozadovane=TO_DATE('2026-03-31','YYYY-MM-DD') WHERE id=1;
#ORACLE_ONLY UPDATE tbl_zakazka SET datum_zaevidovani=TO_DATE('2026-02-03','YYYY-MM-DD'), datum_pozadovane=TO_DATE('2026-04-30','YYYY-MM-DD') WHERE id=2;
#MYSQL_ONLY UPDATE tbl_zakazka SET datum_zaevidovani='2026-01-15', datum_pozadovane='2026-03-31' WHERE id=1;
#MYSQL_ONLY UPDATE tbl_zakazka SET datum_zaevidovani='2026-02-03', datum_pozadovane='2026-04-30' WHERE id=2;
#FIREBIRD_ONLY UPDATE tbl_zakazka SET datum_zaevidovani='2026-01-15', datum_pozadovane='2026-03-31' WHERE id=1;
#FIREBIRD_ONLY UPDATE tbl_zakazka SET datum_zaevidovani='2026-02-03', datum_pozadovane='2026-04-30' WHERE id=2;

// The order series continues after the two orders;
#SQL2005_ONLY SET IDENTITY_INSERT tbl_rady ON;
INSERT INTO tbl_rady (id, zkratka, cislo) VALUES (1, 'ZAK-2026', 3);
#SQL2005_ONLY SET IDENTITY_INSERT tbl_rady OFF;

// Sequences past the explicit ids;
#FIREBIRD_ONLY SET GENERATOR tbl_partner_seq_id TO 3;
#FIREBIRD_ONLY SET GENERATOR tbl_zbozi_seq_id TO 4;
#FIREBIRD_ONLY SET GENERATOR tbl_Zakazky_seq_id TO 2;
#FIREBIRD_ONLY SET GENERATOR tbl_rady_seq_id TO 1;
#ORACLE_ONLY DROP SEQUENCE tbl_partner_seq_id;
#ORACLE_ONLY CREATE SEQUENCE tbl_partner_seq_id START WITH 4 INCREMENT BY 1 NOCACHE;
#ORACLE_ONLY DROP SEQUENCE tbl_zbozi_seq_id;
#ORACLE_ONLY CREATE SEQUENCE tbl_zbozi_seq_id START WITH 5 INCREMENT BY 1 NOCACHE;
#ORACLE_ONLY DROP SEQUENCE tbl_Zakazky_seq_id;
#ORACLE_ONLY CREATE SEQUENCE tbl_Zakazky_seq_id START WITH 3 INCREMENT BY 1 NOCACHE;
#ORACLE_ONLY DROP SEQUENCE tbl_rady_seq_id;
#ORACLE_ONLY CREATE SEQUENCE tbl_rady_seq_id START WITH 2 INCREMENT BY 1 NOCACHE;
