#!/usr/bin/env python3
"""Writes data/BaseDonnéesPays.bd: the 208 country names of the drivers editor's country box,
French names (the data vocabulary is French in both editions), one a line, Windows-1252, CR LF.
Usage: tools/make-countries.py   (run from anywhere; rewrites the file in data/)"""
import pathlib

COUNTRIES = """
Afghanistan
Afrique du Sud
Albanie
Algérie
Allemagne
Andorre
Angola
Antigua-et-Barbuda
Arabie saoudite
Argentine
Arménie
Australie
Autriche
Azerbaïdjan
Bahamas
Bahreïn
Bangladesh
Barbade
Belgique
Belize
Bénin
Bhoutan
Biélorussie
Birmanie
Bolivie
Bosnie-Herzégovine
Botswana
Brésil
Brunei
Bulgarie
Burkina Faso
Burundi
Cambodge
Cameroun
Canada
Cap-Vert
Chili
Chine
Chypre
Colombie
Comores
Congo
Corée du Nord
Corée du Sud
Costa Rica
Côte d'Ivoire
Croatie
Cuba
Danemark
Djibouti
Dominique
Égypte
Émirats arabes unis
Équateur
Érythrée
Espagne
Estonie
Eswatini
États-Unis
Éthiopie
Fidji
Finlande
France
Gabon
Gambie
Géorgie
Ghana
Grèce
Grenade
Groenland
Guadeloupe
Guatemala
Guinée
Guinée équatoriale
Guinée-Bissau
Guyana
Guyane
Haïti
Honduras
Hong Kong
Hongrie
Îles Féroé
Îles Marshall
Îles Salomon
Inde
Indonésie
Irak
Iran
Irlande
Islande
Israël
Italie
Jamaïque
Japon
Jordanie
Kazakhstan
Kenya
Kirghizistan
Kiribati
Kosovo
Koweït
La Réunion
Laos
Lesotho
Lettonie
Liban
Liberia
Libye
Liechtenstein
Lituanie
Luxembourg
Macédoine du Nord
Madagascar
Malaisie
Malawi
Maldives
Mali
Malte
Maroc
Martinique
Maurice
Mauritanie
Mayotte
Mexique
Micronésie
Moldavie
Monaco
Mongolie
Monténégro
Mozambique
Namibie
Nauru
Népal
Nicaragua
Niger
Nigeria
Norvège
Nouvelle-Calédonie
Nouvelle-Zélande
Oman
Ouganda
Ouzbékistan
Pakistan
Palaos
Palestine
Panama
Papouasie-Nouvelle-Guinée
Paraguay
Pays-Bas
Pérou
Philippines
Pologne
Polynésie française
Porto Rico
Portugal
Qatar
République centrafricaine
République démocratique du Congo
République dominicaine
République tchèque
Roumanie
Royaume-Uni
Russie
Rwanda
Saint-Kitts-et-Nevis
Saint-Marin
Saint-Vincent-et-les-Grenadines
Sainte-Lucie
Salvador
Samoa
Sao Tomé-et-Principe
Sénégal
Serbie
Seychelles
Sierra Leone
Singapour
Slovaquie
Slovénie
Somalie
Soudan
Soudan du Sud
Sri Lanka
Suède
Suisse
Suriname
Syrie
Tadjikistan
Taïwan
Tanzanie
Tchad
Thaïlande
Timor oriental
Togo
Tonga
Trinité-et-Tobago
Tunisie
Turkménistan
Turquie
Tuvalu
Ukraine
Uruguay
Vanuatu
Vatican
Venezuela
Viêt Nam
Yémen
Zambie
Zimbabwe
"""

names = [line for line in COUNTRIES.splitlines() if line]
assert len(names) == 208, len(names)
assert len(set(names)) == len(names)
for name in names:
    assert len(name.encode("cp1252")) <= 34, name
path = pathlib.Path(__file__).resolve().parent.parent / "data" / "BaseDonnéesPays.bd"
path.write_bytes("".join(name + "\r\n" for name in names).encode("cp1252"))
print(f"{path}: {len(names)} countries")
