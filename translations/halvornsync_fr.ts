<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>BaseCampGate</name>
    <message>
        <source>Garmin BaseCamp Required</source>
        <translation>Garmin BaseCamp requis</translation>
    </message>
    <message>
        <source>Garmin BaseCamp (version %1 or higher) must be installed on your %2 before you can install your map.</source>
        <translation>Garmin BaseCamp (version %1 ou ultérieure) doit être installé sur votre %2 avant l’installation de votre carte.</translation>
    </message>
    <message>
        <source>≺ BACK</source>
        <translation>≺ RETOUR</translation>
    </message>
    <message>
        <source>NEXT ≻</source>
        <translation>SUIVANT ≻</translation>
    </message>
</context>
<context>
    <name>CardSafetyCopy</name>
    <message>
        <source>Putting the card&apos;s previous map back...</source>
        <translation>Remise en place de la carte précédente sur la carte mémoire...</translation>
    </message>
    <message>
        <source>The card&apos;s previous map has been put back.</source>
        <translation>La carte précédente a été remise en place sur la carte mémoire.</translation>
    </message>
    <message>
        <source>A copy of it is kept on your %1 at &lt;b&gt;%2&lt;/b&gt;. To put it back, copy it into the card&apos;s garmin folder as gmapsupp.img.</source>
        <translation>Une copie en est conservée sur votre %1 à l&apos;emplacement &lt;b&gt;%2&lt;/b&gt;. Pour la remettre en place, copiez-la dans le dossier garmin de la carte mémoire sous le nom gmapsupp.img.</translation>
    </message>
    <message>
        <source>A copy of it is kept on your %1 at &lt;b&gt;%2&lt;/b&gt;. It is put back the next time you insert this card while HalvornSync asks for a card.</source>
        <translation>Une copie en est conservée sur votre %1 à l&apos;emplacement &lt;b&gt;%2&lt;/b&gt;. Elle sera remise en place la prochaine fois que vous insérerez cette carte mémoire lorsque HalvornSync vous le demandera.</translation>
    </message>
    <message>
        <source>The card&apos;s previous map could not be put back on it.</source>
        <translation>La carte précédente n&apos;a pas pu être remise en place sur la carte mémoire.</translation>
    </message>
</context>
<context>
    <name>ChooseLanguagePage</name>
    <message>
        <source>Install or Update Your Map
Installez ou mettez à jour votre carte</source>
        <translation>Install or Update Your Map
Installez ou mettez à jour votre carte</translation>
    </message>
    <message>
        <source>Please choose your language.
Veuillez choisir votre langue.</source>
        <translation>Please choose your language.
Veuillez choisir votre langue.</translation>
    </message>
    <message>
        <source>ENGLISH</source>
        <translation>ENGLISH</translation>
    </message>
    <message>
        <source>FRANÇAIS</source>
        <translation>FRANÇAIS</translation>
    </message>
</context>
<context>
    <name>CloseGarminPage</name>
    <message>
        <source>Install Map on %1?</source>
        <translation>Installer la carte sur votre %1&#xa0;?</translation>
    </message>
    <message>
        <source>Would you like to install the map on your %1 without having to insert the preprogrammed card every time?</source>
        <translation>Voulez-vous installer la carte sur votre %1 pour ne plus avoir à insérer la carte préprogrammée à chaque fois&#xa0;?</translation>
    </message>
    <message>
        <source>NO</source>
        <translation>NON</translation>
    </message>
    <message>
        <source>YES</source>
        <translation>OUI</translation>
    </message>
</context>
<context>
    <name>ComboBox</name>
    <message>
        <source>No drive detected</source>
        <translation>Aucun lecteur détecté</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Installs, updates and uninstalls Halvorn maps for Garmin GPS units.</source>
        <translation>Installe, met à jour et désinstalle les cartes Halvorn des GPS Garmin.</translation>
    </message>
    <message>
        <source>Shows these options.</source>
        <translation>Affiche ces options.</translation>
    </message>
    <message>
        <source>Shows the version.</source>
        <translation>Affiche la version.</translation>
    </message>
    <message>
        <source>Writes the support log to &lt;file&gt; instead of %1.</source>
        <translation>Écrit le journal d’assistance dans &lt;fichier&gt; au lieu de %1.</translation>
    </message>
    <message>
        <source>file</source>
        <translation>fichier</translation>
    </message>
    <message>
        <source>Unexpected argument: %1</source>
        <translation>Argument inattendu&#xa0;: %1</translation>
    </message>
    <message>
        <source>The support log %1 cannot be written; this run keeps none.</source>
        <translation>Le journal d’assistance %1 ne peut pas être écrit&#xa0;; aucun journal n’est tenu pendant cette exécution.</translation>
    </message>
</context>
<context>
    <name>Core</name>
    <message>
        <source>%1 sec</source>
        <translation>%1&#xa0;s</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1&#xa0;min</translation>
    </message>
    <message>
        <source>%1 hrs %2 min</source>
        <translation>%1&#xa0;h %2&#xa0;min</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>≺ BACK</source>
        <translation>≺ RETOUR</translation>
    </message>
</context>
<context>
    <name>DownloadBaseCampPage</name>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Downloading Garmin BaseCamp...&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Téléchargement de Garmin BaseCamp...&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>The Garmin BaseCamp installer cannot be downloaded: no web address is given for it.</source>
        <translation>Le programme d’installation de Garmin BaseCamp ne peut pas être téléchargé&#xa0;: aucune adresse Web n’est indiquée pour lui.</translation>
    </message>
    <message>
        <source>Not enough free space on main drive for download and installation.</source>
        <translation>Espace libre insuffisant sur le disque principal pour le téléchargement et l’installation.</translation>
    </message>
    <message>
        <source>Verifying downloaded installer...</source>
        <translation>Vérification de l’installateur...</translation>
    </message>
    <message>
        <source>The downloaded installer is corrupt. Would you like to try downloading again?</source>
        <translation>Le programme d’installation téléchargé est corrompu. Voulez-vous le télécharger à nouveau&#xa0;?</translation>
    </message>
    <message>
        <source>The downloaded installer is corrupt.</source>
        <translation>Le programme d’installation téléchargé est corrompu.</translation>
    </message>
</context>
<context>
    <name>DownloadGPSDataPage</name>
    <message>
        <source>Your map comes with &lt;b&gt;%1&lt;/b&gt;. Would you like to download them to your %2?</source>
        <translation>Votre carte est accompagnée de &lt;b&gt;%1&lt;/b&gt;. Voulez-vous les télécharger sur votre %2&#xa0;?</translation>
    </message>
    <message>
        <source>SKIP</source>
        <translation>PASSER</translation>
    </message>
    <message>
        <source>YES</source>
        <translation>OUI</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Downloading&lt;br/&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;%1&lt;/span&gt;...&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Téléchargement de&lt;br/&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;%1&lt;/span&gt;...&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>The download of &lt;b&gt;%1&lt;/b&gt; failed.
Would you like to try again?</source>
        <translation>Le téléchargement de &lt;b&gt;%1&lt;/b&gt; a échoué.
Voulez-vous réessayer&#xa0;?</translation>
    </message>
    <message>
        <source>Not enough free space on main drive for download and unpacking.</source>
        <translation>Espace libre insuffisant sur le disque principal pour le téléchargement et la décompression.</translation>
    </message>
    <message>
        <source>The downloaded data is corrupt. Would you like to try downloading again?</source>
        <translation>Les données téléchargées sont corrompues. Voulez-vous les télécharger à nouveau&#xa0;?</translation>
    </message>
    <message>
        <source>The folder &lt;b&gt;%1&lt;/b&gt; could not be created. Would you like to try again?</source>
        <translation>Le dossier &lt;b&gt;%1&lt;/b&gt; n’a pas pu être créé. Voulez-vous réessayer&#xa0;?</translation>
    </message>
</context>
<context>
    <name>DownloadMapPCPage</name>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Downloading map(s)...&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Téléchargement de la ou des cartes...&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Not enough free space on main drive for download and installation.</source>
        <translation>Espace libre insuffisant sur le disque principal pour le téléchargement et l’installation.</translation>
    </message>
    <message>
        <source>The Garmin maps folder could not be found.</source>
        <translation>Le dossier des cartes Garmin est introuvable.</translation>
    </message>
    <message>
        <source>The folder &lt;b&gt;%1&lt;/b&gt; could not be prepared for the download.</source>
        <translation>Le dossier &lt;b&gt;%1&lt;/b&gt; n’a pas pu être préparé pour le téléchargement.</translation>
    </message>
    <message>
        <source>Verifying downloaded map...</source>
        <translation>Vérification de la carte téléchargée...</translation>
    </message>
    <message>
        <source>Extracting map files...</source>
        <translation>Extraction des fichiers de la carte...</translation>
    </message>
    <message>
        <source>The downloaded map is corrupt. Would you like to try downloading again?</source>
        <translation>La carte téléchargée est corrompue. Voulez-vous la télécharger à nouveau ?</translation>
    </message>
    <message>
        <source>Installing downloaded map...</source>
        <translation>Installation de la carte téléchargée...</translation>
    </message>
    <message>
        <source>The new map could not be installed: the folder &lt;b&gt;%1&lt;/b&gt; could not be moved into the Garmin maps folder (a folder of that name may be in use or already there). Your installed map is unchanged.&lt;br/&gt;Would you like to try again?</source>
        <translation>La nouvelle carte n’a pas pu être installée : le dossier &lt;b&gt;%1&lt;/b&gt; n’a pas pu être déplacé dans le dossier des cartes Garmin (un dossier de ce nom est peut-être en cours d’utilisation ou déjà présent). Votre carte installée n’a pas changé.&lt;br/&gt;Voulez-vous réessayer ?</translation>
    </message>
    <message>
        <source>The downloaded map holds no map for this product. Would you like to try downloading again?</source>
        <translation>La carte téléchargée ne contient aucune carte pour ce produit. Voulez-vous essayer de la télécharger à nouveau ?</translation>
    </message>
    <message>
        <source>The new map could not be installed: it could not be written to the disk. Your installed map is unchanged.&lt;br/&gt;Would you like to try again?</source>
        <translation>La nouvelle carte n’a pas pu être installée : elle n’a pas pu être écrite sur le disque. Votre carte installée n’a pas changé.&lt;br/&gt;Voulez-vous réessayer ?</translation>
    </message>
</context>
<context>
    <name>DownloadMapSDPage</name>
    <message>
        <source>The transfer to preprogrammed card failed. Would you like to try again?</source>
        <translation>Le transfert vers la carte préprogrammée a échoué. Voulez-vous réessayer ?</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Downloading new map for&lt;br/&gt;preprogrammed card...&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Téléchargement de la nouvelle carte pour&lt;br/&gt;la carte préprogrammée...&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>The preprogrammed card is no longer in the computer.</source>
        <translation>La carte préprogrammée n’est plus dans l’ordinateur.</translation>
    </message>
    <message>
        <source>The map (%1 MB) is too large for this card: its file system, %2, holds no file of 4 GB or more. Please use a card formatted with exFAT.</source>
        <translation>La carte (%1 Mo) est trop volumineuse pour cette carte mémoire : son système de fichiers, %2, n’accepte aucun fichier de 4 Go ou plus. Veuillez utiliser une carte mémoire formatée en exFAT.</translation>
    </message>
    <message>
        <source>Not enough free space on main drive for download to temporary location.&lt;br/&gt;Temporary location: &lt;b&gt;%1&lt;/b&gt;</source>
        <translation>Espace libre insuffisant sur le disque principal pour le téléchargement vers l’emplacement temporaire.&lt;br/&gt;Emplacement temporaire : &lt;b&gt;%1&lt;/b&gt;</translation>
    </message>
    <message>
        <source>Not enough free space on selected drive.</source>
        <translation>Espace libre insuffisant sur le lecteur sélectionné.</translation>
    </message>
    <message>
        <source>Verifying downloaded map...</source>
        <translation>Vérification de la carte téléchargée...</translation>
    </message>
    <message>
        <source>The downloaded map is corrupt. Would you like to try downloading again?</source>
        <translation>La carte téléchargée est corrompue. Voulez-vous la télécharger à nouveau ?</translation>
    </message>
    <message>
        <source>Transferring new map to preprogrammed card...</source>
        <translation>Transfert de la nouvelle carte vers la carte préprogrammée...</translation>
    </message>
    <message>
        <source>Checking the map on the preprogrammed card...</source>
        <translation>Vérification de la carte sur la carte préprogrammée...</translation>
    </message>
    <message>
        <source>The map on the card differs from the downloaded map.</source>
        <translation>La carte enregistrée sur la carte mémoire diffère de la carte téléchargée.</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Avertissement</translation>
    </message>
    <message>
        <source>There is not enough free space on your %1 to keep a copy of the map now on the card while the new one is written: the card&apos;s current map cannot be kept if the copy fails. Continue?</source>
        <translation>L&apos;espace libre sur votre %1 est insuffisant pour conserver une copie de la carte qui se trouve actuellement sur la carte mémoire pendant l&apos;écriture de la nouvelle&#xa0;: la carte actuelle ne pourra pas être conservée si la copie échoue. Continuer&#xa0;?</translation>
    </message>
    <message>
        <source>Keeping a copy of the card&apos;s current map on your %1...</source>
        <translation>Sauvegarde de la carte actuelle de la carte mémoire sur votre %1...</translation>
    </message>
    <message>
        <source>The card&apos;s current map could not be copied to your %1.</source>
        <translation>La carte actuelle de la carte mémoire n&apos;a pas pu être copiée sur votre %1.</translation>
    </message>
    <message>
        <source>The transfer to preprogrammed card failed.</source>
        <translation>Le transfert vers la carte préprogrammée a échoué.</translation>
    </message>
</context>
<context>
    <name>DownloadPage</name>
    <message>
        <source>stalled</source>
        <translation>interrompu</translation>
    </message>
    <message>
        <source>%1 / %2 MB,</source>
        <translation>%1 / %2 Mo,</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 Mo</translation>
    </message>
    <message>
        <source>estimated time: %1</source>
        <translation>temps estimé : %1</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progression</translation>
    </message>
    <message>
        <source>Download failed. Would you like to try again?</source>
        <translation>Le téléchargement a échoué. Voulez-vous réessayer ?</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>NO</source>
        <translation>NON</translation>
    </message>
    <message>
        <source>YES</source>
        <translation>OUI</translation>
    </message>
    <message>
        <source>Would you like to try again?</source>
        <translation>Voulez-vous réessayer&#xa0;?</translation>
    </message>
    <message>
        <source>Nothing was downloaded: &lt;b&gt;%1&lt;/b&gt; is not a web address.</source>
        <translation>Rien n’a été téléchargé&#xa0;: &lt;b&gt;%1&lt;/b&gt; n’est pas une adresse web.</translation>
    </message>
</context>
<context>
    <name>EjectSDPage</name>
    <message>
        <source>Please eject your preprogrammed card or device.</source>
        <translation>Veuillez éjecter votre carte préprogrammée ou votre appareil.</translation>
    </message>
    <message>
        <source>If you&apos;d like to fully install the map onto your computer in order to always have access to it, please do not close the application. Instructions will follow once the microSD card is ejected from your computer.</source>
        <translation>Si vous souhaitez installer entièrement la carte sur votre ordinateur pour y avoir toujours accès, ne fermez pas l’application. Les instructions suivront une fois la carte microSD éjectée de votre ordinateur.</translation>
    </message>
</context>
<context>
    <name>FileDownload</name>
    <message>
        <source>The download ended after %1 of %2 bytes.</source>
        <translation>Le téléchargement s’est arrêté après %1 octets sur %2.</translation>
    </message>
    <message>
        <source>No data arrived for %1 seconds.</source>
        <translation>Aucune donnée reçue depuis %1 secondes.</translation>
    </message>
    <message>
        <source>The server did not answer.</source>
        <translation>Le serveur n’a pas répondu.</translation>
    </message>
</context>
<context>
    <name>GPSDataExtractedPage</name>
    <message>
        <source>NEXT ≻</source>
        <translation>SUIVANT ≻</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;%1&lt;/span&gt; was successfully extracted to the folder &lt;span style=&quot; font-weight:600;&quot;&gt;%3&lt;/span&gt; in your Downloads folder on your %2.&lt;/p&gt;&lt;p&gt;Next, you need to import them into Garmin BaseCamp.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;%1&lt;/span&gt; a été extrait avec succès dans le dossier &lt;span style=&quot; font-weight:600;&quot;&gt;%3&lt;/span&gt; de votre dossier Téléchargements sur votre %2.&lt;/p&gt;&lt;p&gt;Vous devez ensuite les importer dans Garmin BaseCamp.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>How to Import?</source>
        <translation>Comment importer&#xa0;?</translation>
    </message>
</context>
<context>
    <name>HighSpeedConnectionRequiredPage</name>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Please note that a high speed Internet connection is required to use this application.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Veuillez noter qu’une connexion Internet haut débit est nécessaire pour utiliser cette application.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>NEXT ≻</source>
        <translation>SUIVANT ≻</translation>
    </message>
</context>
<context>
    <name>InformNewPCVersionPage</name>
    <message>
        <source>NEXT ≻</source>
        <translation>SUIVANT ≻</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;%1&lt;/span&gt;&lt;/p&gt;&lt;p&gt;on your %2 is now at version &lt;span style=&quot; font-weight:600;&quot;&gt;%3&lt;/span&gt;.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;%1&lt;/span&gt;&lt;/p&gt;&lt;p&gt;sur votre %2 est maintenant à la version &lt;span style=&quot; font-weight:600;&quot;&gt;%3&lt;/span&gt;.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
</context>
<context>
    <name>InformNewSDVersionPage</name>
    <message>
        <source>NEXT ≻</source>
        <translation>SUIVANT ≻</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Your preprogrammed card of&lt;/p&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;%1&lt;/span&gt;&lt;/p&gt;&lt;p&gt; is now at version %2.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Votre carte préprogrammée&lt;/p&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;%1&lt;/span&gt;&lt;/p&gt;&lt;p&gt; est maintenant à la version %2.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
</context>
<context>
    <name>InsertSDPage</name>
    <message>
        <source>CONTINUE ≻</source>
        <translation>CONTINUER ≻</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Please insert the&lt;br/&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;%1&lt;/span&gt;&lt;br/&gt;preprogrammed card in your computer&lt;br/&gt;and select it from the device(s) below&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Veuillez insérer la carte préprogrammée&lt;br/&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;%1&lt;/span&gt;&lt;br/&gt;dans votre ordinateur&lt;br/&gt;et la sélectionner parmi les appareils ci-dessous&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Need Help?</source>
        <translation>Besoin d’aide ?</translation>
    </message>
    <message>
        <source>Device:</source>
        <translation>Appareil :</translation>
    </message>
    <message>
        <source>≺ BACK</source>
        <translation>≺ RETOUR</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Please disable read-only mode.</source>
        <translation>Veuillez désactiver le mode lecture seule.</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progression</translation>
    </message>
</context>
<context>
    <name>InstallBaseCampPage</name>
    <message>
        <source>CONTINUE ≻</source>
        <translation>CONTINUER ≻</translation>
    </message>
    <message>
        <source>Install Garmin BaseCamp</source>
        <translation>Installer Garmin BaseCamp</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;The Garmin BaseCamp installer has just been launched.&lt;br/&gt;If the installer did not automatically launch, please run it from the Downloads folder.&lt;/p&gt;&lt;p&gt;Please follow the steps in the Garmin BaseCamp installer.&lt;/p&gt;&lt;p&gt;Once installed, please come back to this window and click &lt;span style=&quot; font-weight:600;&quot;&gt;Continue&lt;/span&gt;.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Le programme d’installation de Garmin BaseCamp vient d’être lancé.&lt;br/&gt;S’il ne s’est pas lancé automatiquement, veuillez le lancer depuis le dossier Téléchargements.&lt;/p&gt;&lt;p&gt;Suivez les étapes du programme d’installation de Garmin BaseCamp.&lt;/p&gt;&lt;p&gt;Une fois l’installation terminée, revenez à cette fenêtre et cliquez sur &lt;span style=&quot; font-weight:600;&quot;&gt;Continuer&lt;/span&gt;.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;The Garmin BaseCamp installer could not be started.&lt;br/&gt;Please run &lt;b&gt;%1&lt;/b&gt; from the Downloads folder.&lt;/p&gt;&lt;p&gt;Please follow the steps in the Garmin BaseCamp installer.&lt;/p&gt;&lt;p&gt;Once installed, please come back to this window and click &lt;span style=&quot; font-weight:600;&quot;&gt;Continue&lt;/span&gt;.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Le programme d’installation de Garmin BaseCamp n’a pas pu être lancé.&lt;br/&gt;Veuillez lancer &lt;b&gt;%1&lt;/b&gt; depuis le dossier Téléchargements.&lt;/p&gt;&lt;p&gt;Suivez les étapes du programme d’installation de Garmin BaseCamp.&lt;/p&gt;&lt;p&gt;Une fois l’installation terminée, revenez à cette fenêtre et cliquez sur &lt;span style=&quot; font-weight:600;&quot;&gt;Continuer&lt;/span&gt;.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
</context>
<context>
    <name>InstallRecovery</name>
    <message>
        <source>A map installation could not be completed, and not every map could be put back in its place. Nothing was deleted: these folders were kept as they are:%1</source>
        <translation>Une installation de carte n’a pas pu être menée à son terme, et toutes les cartes n’ont pas pu être remises à leur place. Rien n’a été supprimé : ces dossiers ont été conservés tels quels :%1</translation>
    </message>
</context>
<context>
    <name>InstallUpdateUninstallPage</name>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Would you like to install/update your&lt;br/&gt;maps or select maps to uninstall from&lt;br/&gt;your %1?&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Voulez-vous installer ou mettre à jour&lt;br/&gt;vos cartes, ou choisir des cartes&lt;br/&gt;à désinstaller de votre %1&#xa0;?&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>UNINSTALL</source>
        <translation>DÉSINSTALLER</translation>
    </message>
    <message>
        <source>INSTALL / UPDATE</source>
        <translation>INSTALLER / METTRE À JOUR</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
</context>
<context>
    <name>MajorReleaseAvailablePage</name>
    <message>
        <source>Transfer To GPS</source>
        <translation>Transfert vers le GPS</translation>
    </message>
    <message>
        <source>Would you like to transfer your map(s) now to your GPS using Garmin MapInstall? You can always do so later.</source>
        <translation>Voulez-vous transférer dès maintenant votre ou vos cartes vers votre GPS avec Garmin MapInstall&#xa0;? Vous pourrez toujours le faire plus tard.</translation>
    </message>
    <message>
        <source>SKIP</source>
        <translation>PASSER</translation>
    </message>
    <message>
        <source>YES</source>
        <translation>OUI</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;A new major release is available for your map.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Une nouvelle version majeure de votre carte est disponible.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&amp;nbsp;&amp;nbsp;&amp;nbsp;&amp;nbsp;&amp;nbsp;Your version: &lt;span style=&quot; font-weight:600;&quot;&gt;%1&lt;/span&gt;&lt;br/&gt;&amp;nbsp;&amp;nbsp;&amp;nbsp;&amp;nbsp;&amp;nbsp;Available version: &lt;span style=&quot; font-weight:600;&quot;&gt;%2&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&amp;nbsp;&amp;nbsp;&amp;nbsp;&amp;nbsp;&amp;nbsp;Votre version&amp;nbsp;: &lt;span style=&quot; font-weight:600;&quot;&gt;%1&lt;/span&gt;&lt;br/&gt;&amp;nbsp;&amp;nbsp;&amp;nbsp;&amp;nbsp;&amp;nbsp;Version disponible&amp;nbsp;: &lt;span style=&quot; font-weight:600;&quot;&gt;%2&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>What&apos;s changed?</source>
        <translation>Quoi de neuf&#xa0;?</translation>
    </message>
    <message>
        <source>LEARN MORE ≻</source>
        <translation>EN SAVOIR PLUS ≻</translation>
    </message>
</context>
<context>
    <name>NeedHelpDialog</name>
    <message>
        <source>NEED HELP?</source>
        <translation>BESOIN D’AIDE&#xa0;?</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Need Help?</source>
        <translation>Besoin d’aide&#xa0;?</translation>
    </message>
</context>
<context>
    <name>NetworkErrorText</name>
    <message>
        <source>The proxy server %1 asks for a user name and password, which HalvornSync cannot give. Please ask whoever looks after your network to let HalvornSync through, or use a connection without a proxy.</source>
        <translation>Le serveur proxy %1 demande un nom d’utilisateur et un mot de passe, que HalvornSync ne peut pas fournir. Veuillez demander à la personne qui gère votre réseau de laisser passer HalvornSync, ou utilisez une connexion sans proxy.</translation>
    </message>
</context>
<context>
    <name>NoPCUpdatesAvailablePage</name>
    <message>
        <source>REINSTALL MAP</source>
        <translation>RÉINSTALLER LA CARTE</translation>
    </message>
    <message>
        <source>NEXT ≻</source>
        <translation>SUIVANT ≻</translation>
    </message>
    <message>
        <source>Your map is already
up to date on your %1.</source>
        <translation>Votre carte est déjà
à jour sur votre %1.</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Your version: &lt;span style=&quot; font-weight:600;&quot;&gt;%1&lt;br/&gt;&lt;/span&gt;Available version: &lt;span style=&quot; font-weight:600;&quot;&gt;%2&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Votre version&#xa0;: &lt;span style=&quot; font-weight:600;&quot;&gt;%1&lt;br/&gt;&lt;/span&gt;Version disponible&#xa0;: &lt;span style=&quot; font-weight:600;&quot;&gt;%2&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
</context>
<context>
    <name>NoSDUpdatesAvailablePage</name>
    <message>
        <source>REINSTALL MAP</source>
        <translation>RÉINSTALLER LA CARTE</translation>
    </message>
    <message>
        <source>NEXT ≻</source>
        <translation>SUIVANT ≻</translation>
    </message>
    <message>
        <source>Your map is already
up to date on your preprogrammed card.</source>
        <translation>Votre carte préprogrammée
est déjà à jour.</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Your version: &lt;span style=&quot; font-weight:600;&quot;&gt;%1&lt;br/&gt;&lt;/span&gt;Available version: &lt;span style=&quot; font-weight:600;&quot;&gt;%2&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Votre version&#xa0;: &lt;span style=&quot; font-weight:600;&quot;&gt;%1&lt;br/&gt;&lt;/span&gt;Version disponible&#xa0;: &lt;span style=&quot; font-weight:600;&quot;&gt;%2&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>No map was found
on your preprogrammed card.</source>
        <translation>Aucune carte n’a été trouvée
sur votre carte préprogrammée.</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Available version: &lt;span style=&quot; font-weight:600;&quot;&gt;%1&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Version disponible&#xa0;: &lt;span style=&quot; font-weight:600;&quot;&gt;%1&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>INSTALL MAP</source>
        <translation>INSTALLER LA CARTE</translation>
    </message>
</context>
<context>
    <name>PCUpdatesAvailablePage</name>
    <message>
        <source>UPDATE NOW ≻</source>
        <translation>METTRE À JOUR ≻</translation>
    </message>
    <message>
        <source>SKIP</source>
        <translation>PASSER</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p align=&quot;center&quot;&gt;An update is available for&lt;br/&gt;your map on your %1.&lt;br/&gt;&lt;/p&gt;&lt;p&gt;&#xa0;&#xa0;&#xa0;&#xa0;&#xa0;Your version: &lt;span style=&quot; font-weight:600;&quot;&gt;%2&lt;br/&gt;&lt;/span&gt;&#xa0;&#xa0;&#xa0;&#xa0;&#xa0;Available version: &lt;span style=&quot; font-weight:600;&quot;&gt;%3&lt;/span&gt;&lt;/p&gt;&lt;p&gt;&lt;span style=&quot; text-decoration: underline;&quot;&gt;Please note&lt;/span&gt; that download and installation may take many hours. You won&apos;t be able to interrupt the process.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p align=&quot;center&quot;&gt;Une mise à jour est disponible pour&lt;br/&gt;votre carte sur votre %1.&lt;br/&gt;&lt;/p&gt;&lt;p&gt;&#xa0;&#xa0;&#xa0;&#xa0;&#xa0;Votre version&#xa0;: &lt;span style=&quot; font-weight:600;&quot;&gt;%2&lt;br/&gt;&lt;/span&gt;&#xa0;&#xa0;&#xa0;&#xa0;&#xa0;Version disponible&#xa0;: &lt;span style=&quot; font-weight:600;&quot;&gt;%3&lt;/span&gt;&lt;/p&gt;&lt;p&gt;&lt;span style=&quot; text-decoration: underline;&quot;&gt;Veuillez noter&lt;/span&gt; que le téléchargement et l’installation peuvent prendre de nombreuses heures. Vous ne pourrez pas interrompre l’opération.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>What&apos;s changed?</source>
        <translation>Quoi de neuf&#xa0;?</translation>
    </message>
</context>
<context>
    <name>PopupDialog</name>
    <message>
        <source>Need Help?</source>
        <translation>Besoin d’aide&#xa0;?</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Please note that download and installation may take many hours.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Veuillez noter que le téléchargement et l’installation peuvent prendre plusieurs heures.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
</context>
<context>
    <name>ProductInfo</name>
    <message>
        <source>Corrupted product info detected</source>
        <translation>Informations du produit corrompues</translation>
    </message>
</context>
<context>
    <name>ProductInfoRequest</name>
    <message>
        <source>The service did not answer.</source>
        <translation>Le service n’a pas répondu.</translation>
    </message>
</context>
<context>
    <name>ProductInfoStep</name>
    <message>
        <source>CONTINUE ≻</source>
        <translation>CONTINUER ≻</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
</context>
<context>
    <name>ProductsUninstalledPage</name>
    <message>
        <source>NEXT ≻</source>
        <translation>SUIVANT ≻</translation>
    </message>
    <message>
        <source>Maps Uninstalled from %1</source>
        <translation>Cartes désinstallées du %1</translation>
    </message>
    <message>
        <source>The following maps were attempted to be
uninstalled:</source>
        <translation>Nous avons tenté de désinstaller
les cartes suivantes&#xa0;:</translation>
    </message>
</context>
<context>
    <name>SDUpdatesAvailablePage</name>
    <message>
        <source>UPDATE NOW ≻</source>
        <translation>METTRE À JOUR ≻</translation>
    </message>
    <message>
        <source>SKIP</source>
        <translation>PASSER</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p align=&quot;center&quot;&gt;An update is available for&lt;br/&gt;your map on your preprogrammed card.&lt;br/&gt;&lt;/p&gt;&lt;p&gt;&#xa0;&#xa0;&#xa0;&#xa0;&#xa0;Your version: &lt;span style=&quot; font-weight:600;&quot;&gt;%1&lt;br/&gt;&lt;/span&gt;&#xa0;&#xa0;&#xa0;&#xa0;&#xa0;Available version: &lt;span style=&quot; font-weight:600;&quot;&gt;%2&lt;/span&gt;&lt;/p&gt;&lt;p&gt;&lt;span style=&quot; text-decoration: underline;&quot;&gt;Please note&lt;/span&gt; that download and installation may take many hours. You won&apos;t be able to interrupt the process.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p align=&quot;center&quot;&gt;Une mise à jour est disponible pour&lt;br/&gt;votre carte préprogrammée.&lt;br/&gt;&lt;/p&gt;&lt;p&gt;&#xa0;&#xa0;&#xa0;&#xa0;&#xa0;Votre version&#xa0;: &lt;span style=&quot; font-weight:600;&quot;&gt;%1&lt;br/&gt;&lt;/span&gt;&#xa0;&#xa0;&#xa0;&#xa0;&#xa0;Version disponible&#xa0;: &lt;span style=&quot; font-weight:600;&quot;&gt;%2&lt;/span&gt;&lt;/p&gt;&lt;p&gt;&lt;span style=&quot; text-decoration: underline;&quot;&gt;Veuillez noter&lt;/span&gt; que le téléchargement et l’installation peuvent prendre de nombreuses heures. Vous ne pourrez pas interrompre l’opération.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>What&apos;s changed?</source>
        <translation>Quoi de neuf&#xa0;?</translation>
    </message>
</context>
<context>
    <name>SelectProductsPage</name>
    <message>
        <source>≺ BACK</source>
        <translation>≺ RETOUR</translation>
    </message>
    <message>
        <source>UNINSTALL</source>
        <translation>DÉSINSTALLER</translation>
    </message>
    <message>
        <source>Select Maps to Uninstall from %1</source>
        <translation>Choisissez les cartes à désinstaller du %1</translation>
    </message>
</context>
<context>
    <name>SerialDialog</name>
    <message>
        <source>Please enter the serial number of the product you want to install or update.</source>
        <translation>Veuillez saisir le numéro de série du produit que vous souhaitez installer ou mettre à jour.</translation>
    </message>
    <message>
        <source>≺ BACK</source>
        <translation>≺ RETOUR</translation>
    </message>
    <message>
        <source>CONTINUE ≻</source>
        <translation>CONTINUER ≻</translation>
    </message>
    <message>
        <source>Product Serial Number</source>
        <translation>Numéro de série du produit</translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation>Numéro de série</translation>
    </message>
</context>
<context>
    <name>SingleRun</name>
    <message>
        <source>Already running</source>
        <translation>Déjà en cours</translation>
    </message>
    <message>
        <source>HalvornSync is already running.</source>
        <translation>HalvornSync est déjà en cours d’exécution.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>SupportLog</name>
    <message>
        <source>The support log is in %1.</source>
        <translation>Le journal d’assistance se trouve dans %1.</translation>
    </message>
</context>
<context>
    <name>ThankYouPage</name>
    <message>
        <source>Update Another Product</source>
        <translation>Mettre à jour un autre produit</translation>
    </message>
    <message>
        <source>EXIT</source>
        <translation>QUITTER</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p align=&quot;center&quot;&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Thank you for choosing Halvorn!&lt;/span&gt;&lt;/p&gt;&lt;p align=&quot;center&quot;&gt;Make sure to check out these&lt;br/&gt;resources:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p align=&quot;center&quot;&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Merci d’avoir choisi Halvorn&#xa0;!&lt;/span&gt;&lt;/p&gt;&lt;p align=&quot;center&quot;&gt;N’hésitez pas à consulter&lt;br/&gt;ces ressources&#xa0;:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Open Garmin BaseCamp</source>
        <translation>Ouvrir Garmin BaseCamp</translation>
    </message>
    <message>
        <source>Learning Center</source>
        <translation>Centre d’apprentissage</translation>
    </message>
</context>
<context>
    <name>TransferToGPS2Page</name>
    <message>
        <source>SKIP</source>
        <translation>PASSER</translation>
    </message>
    <message>
        <source>NEXT ≻</source>
        <translation>SUIVANT ≻</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Transfer To GPS&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Transfert vers le GPS&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Maps are transferred to your GPS unit using Garmin MapInstall.&lt;/p&gt;&lt;p&gt;Please connect your GPS unit to your computer and click &lt;span style=&quot; font-weight:600;&quot;&gt;Next&lt;/span&gt; to open up Garmin MapInstall.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Les cartes sont transférées vers votre GPS avec Garmin MapInstall.&lt;/p&gt;&lt;p&gt;Veuillez connecter votre GPS à votre ordinateur et cliquer sur &lt;span style=&quot; font-weight:600;&quot;&gt;Suivant&lt;/span&gt; pour ouvrir Garmin MapInstall.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Need Help?</source>
        <translation>Besoin d’aide&#xa0;?</translation>
    </message>
</context>
<context>
    <name>TransferToGPS3Page</name>
    <message>
        <source>CONTINUE ≻</source>
        <translation>CONTINUER ≻</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Transfer To GPS&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Transfert vers le GPS&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Garmin MapInstall has just been launched.&lt;br/&gt;If Garmin MapInstall did not automatically launch, please run it from the %1.&lt;/p&gt;&lt;p&gt;Please follow the steps in Garmin MapInstall to transfer the map to your GPS unit.&lt;/p&gt;&lt;p&gt;Once transfer is complete, please come back to this window and click &lt;span style=&quot; font-weight:600;&quot;&gt;Continue&lt;/span&gt;.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Garmin MapInstall vient d’être lancé.&lt;br/&gt;S’il ne s’est pas lancé automatiquement, veuillez le lancer depuis le %1.&lt;/p&gt;&lt;p&gt;Suivez les étapes de Garmin MapInstall pour transférer la carte vers votre GPS.&lt;/p&gt;&lt;p&gt;Une fois le transfert terminé, revenez à cette fenêtre et cliquez sur &lt;span style=&quot; font-weight:600;&quot;&gt;Continuer&lt;/span&gt;.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Start Menu</source>
        <translation>menu Démarrer</translation>
    </message>
</context>
<context>
    <name>UninstallingPage</name>
    <message>
        <source>Uninstalling Maps from %1</source>
        <translation>Désinstallation des cartes du %1</translation>
    </message>
    <message>
        <source>One moment please.
We are uninstalling your map(s)...</source>
        <translation>Un instant, s’il vous plaît.
Nous désinstallons votre ou vos cartes...</translation>
    </message>
    <message>
        <source>%1...</source>
        <translation>%1...</translation>
    </message>
    <message>
        <source>: &lt;font color=&quot;red&quot;&gt;Error (Maybe it is protected?)&lt;/font&gt;</source>
        <translation>&#xa0;: &lt;font color=&quot;red&quot;&gt;Erreur (peut-être protégée&#xa0;?)&lt;/font&gt;</translation>
    </message>
    <message>
        <source>: &lt;b&gt;Success&lt;/b&gt;</source>
        <translation>&#xa0;: &lt;b&gt;Succès&lt;/b&gt;</translation>
    </message>
</context>
<context>
    <name>UpdateFirmwarePage</name>
    <message>
        <source>NEXT ≻</source>
        <translation>SUIVANT ≻</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;IMPORTANT&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;IMPORTANT&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Before continuing, please remove any microSD card in your GPS unit and update your GPS firmware.</source>
        <translation>Avant de continuer, veuillez retirer toute carte microSD de votre GPS et mettre à jour son micrologiciel.</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Certain older firmwares do not support our maps and may have bugs that have since been fixed.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Certains anciens micrologiciels ne prennent pas en charge nos cartes et peuvent comporter des bogues corrigés depuis.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Update GPS Firmware</source>
        <translation>Mettre à jour le micrologiciel</translation>
    </message>
</context>
<context>
    <name>VersionReport</name>
    <message>
        <source>Updating new map version information failed.</source>
        <translation>La mise à jour des informations de version de la carte a échoué.</translation>
    </message>
</context>
<context>
    <name>ViewMapOnPCPage</name>
    <message>
        <source>View Map on %1?</source>
        <translation>Voir la carte sur votre %1&#xa0;?</translation>
    </message>
    <message>
        <source>Would you like to be able to view your preprogrammed card on your %1 in Garmin BaseCamp?</source>
        <translation>Voulez-vous pouvoir consulter votre carte préprogrammée sur votre %1 dans Garmin BaseCamp&#xa0;?</translation>
    </message>
    <message>
        <source>NO</source>
        <translation>NON</translation>
    </message>
    <message>
        <source>YES</source>
        <translation>OUI</translation>
    </message>
    <message>
        <source>SKIP</source>
        <translation>PASSER</translation>
    </message>
</context>
</TS>
