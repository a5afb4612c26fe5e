<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB">
<context>
    <name>BaseCampGate</name>
    <message>
        <source>Garmin BaseCamp Required</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>≺ BACK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NEXT ≻</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Garmin BaseCamp (version %1 or higher) must be installed on your %2 before you can install your map.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CardSafetyCopy</name>
    <message>
        <source>Putting the card&apos;s previous map back...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The card&apos;s previous map has been put back.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A copy of it is kept on your %1 at &lt;b&gt;%2&lt;/b&gt;. To put it back, copy it into the card&apos;s garmin folder as gmapsupp.img.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A copy of it is kept on your %1 at &lt;b&gt;%2&lt;/b&gt;. It is put back the next time you insert this card while HalvornSync asks for a card.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The card&apos;s previous map could not be put back on it.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ChooseLanguagePage</name>
    <message>
        <source>Install or Update Your Map
Installez ou mettez à jour votre carte</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please choose your language.
Veuillez choisir votre langue.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ENGLISH</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FRANÇAIS</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CloseGarminPage</name>
    <message>
        <source>Install Map on %1?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Would you like to install the map on your %1 without having to insert the preprogrammed card every time?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NO</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>YES</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ComboBox</name>
    <message>
        <source>No drive detected</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Installs, updates and uninstalls Halvorn maps for Garmin GPS units.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shows these options.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shows the version.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Writes the support log to &lt;file&gt; instead of %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unexpected argument: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The support log %1 cannot be written; this run keeps none.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Core</name>
    <message>
        <source>%1 sec</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 hrs %2 min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>≺ BACK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DownloadBaseCampPage</name>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Downloading Garmin BaseCamp...&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Garmin BaseCamp installer cannot be downloaded: no web address is given for it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not enough free space on main drive for download and installation.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Verifying downloaded installer...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The downloaded installer is corrupt. Would you like to try downloading again?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The downloaded installer is corrupt.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DownloadGPSDataPage</name>
    <message>
        <source>Your map comes with &lt;b&gt;%1&lt;/b&gt;. Would you like to download them to your %2?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SKIP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>YES</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Downloading&lt;br/&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;%1&lt;/span&gt;...&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The download of &lt;b&gt;%1&lt;/b&gt; failed.
Would you like to try again?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not enough free space on main drive for download and unpacking.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The downloaded data is corrupt. Would you like to try downloading again?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder &lt;b&gt;%1&lt;/b&gt; could not be created. Would you like to try again?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DownloadMapPCPage</name>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Downloading map(s)...&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not enough free space on main drive for download and installation.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Garmin maps folder could not be found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder &lt;b&gt;%1&lt;/b&gt; could not be prepared for the download.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Verifying downloaded map...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extracting map files...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The downloaded map is corrupt. Would you like to try downloading again?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Installing downloaded map...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The new map could not be installed: the folder &lt;b&gt;%1&lt;/b&gt; could not be moved into the Garmin maps folder (a folder of that name may be in use or already there). Your installed map is unchanged.&lt;br/&gt;Would you like to try again?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The downloaded map holds no map for this product. Would you like to try downloading again?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The new map could not be installed: it could not be written to the disk. Your installed map is unchanged.&lt;br/&gt;Would you like to try again?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DownloadMapSDPage</name>
    <message>
        <source>The transfer to preprogrammed card failed. Would you like to try again?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Downloading new map for&lt;br/&gt;preprogrammed card...&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The preprogrammed card is no longer in the computer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The map (%1 MB) is too large for this card: its file system, %2, holds no file of 4 GB or more. Please use a card formatted with exFAT.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not enough free space on main drive for download to temporary location.&lt;br/&gt;Temporary location: &lt;b&gt;%1&lt;/b&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not enough free space on selected drive.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Verifying downloaded map...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The downloaded map is corrupt. Would you like to try downloading again?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Transferring new map to preprogrammed card...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Checking the map on the preprogrammed card...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The map on the card differs from the downloaded map.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is not enough free space on your %1 to keep a copy of the map now on the card while the new one is written: the card&apos;s current map cannot be kept if the copy fails. Continue?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keeping a copy of the card&apos;s current map on your %1...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The card&apos;s current map could not be copied to your %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The transfer to preprogrammed card failed.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DownloadPage</name>
    <message>
        <source>stalled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 / %2 MB,</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>estimated time: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Progress</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download failed. Would you like to try again?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NO</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>YES</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Would you like to try again?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nothing was downloaded: &lt;b&gt;%1&lt;/b&gt; is not a web address.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EjectSDPage</name>
    <message>
        <source>Please eject your preprogrammed card or device.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>If you&apos;d like to fully install the map onto your computer in order to always have access to it, please do not close the application. Instructions will follow once the microSD card is ejected from your computer.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileDownload</name>
    <message>
        <source>The download ended after %1 of %2 bytes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No data arrived for %1 seconds.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server did not answer.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GPSDataExtractedPage</name>
    <message>
        <source>NEXT ≻</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;%1&lt;/span&gt; was successfully extracted to the folder &lt;span style=&quot; font-weight:600;&quot;&gt;%3&lt;/span&gt; in your Downloads folder on your %2.&lt;/p&gt;&lt;p&gt;Next, you need to import them into Garmin BaseCamp.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>How to Import?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HighSpeedConnectionRequiredPage</name>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Please note that a high speed Internet connection is required to use this application.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NEXT ≻</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>InformNewPCVersionPage</name>
    <message>
        <source>NEXT ≻</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;%1&lt;/span&gt;&lt;/p&gt;&lt;p&gt;on your %2 is now at version &lt;span style=&quot; font-weight:600;&quot;&gt;%3&lt;/span&gt;.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>InformNewSDVersionPage</name>
    <message>
        <source>NEXT ≻</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Your preprogrammed card of&lt;/p&gt;&lt;p&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;%1&lt;/span&gt;&lt;/p&gt;&lt;p&gt; is now at version %2.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>InsertSDPage</name>
    <message>
        <source>CONTINUE ≻</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Please insert the&lt;br/&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;%1&lt;/span&gt;&lt;br/&gt;preprogrammed card in your computer&lt;br/&gt;and select it from the device(s) below&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Need Help?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>≺ BACK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please disable read-only mode.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Progress</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>InstallBaseCampPage</name>
    <message>
        <source>CONTINUE ≻</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Install Garmin BaseCamp</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;The Garmin BaseCamp installer has just been launched.&lt;br/&gt;If the installer did not automatically launch, please run it from the Downloads folder.&lt;/p&gt;&lt;p&gt;Please follow the steps in the Garmin BaseCamp installer.&lt;/p&gt;&lt;p&gt;Once installed, please come back to this window and click &lt;span style=&quot; font-weight:600;&quot;&gt;Continue&lt;/span&gt;.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;The Garmin BaseCamp installer could not be started.&lt;br/&gt;Please run &lt;b&gt;%1&lt;/b&gt; from the Downloads folder.&lt;/p&gt;&lt;p&gt;Please follow the steps in the Garmin BaseCamp installer.&lt;/p&gt;&lt;p&gt;Once installed, please come back to this window and click &lt;span style=&quot; font-weight:600;&quot;&gt;Continue&lt;/span&gt;.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>InstallRecovery</name>
    <message>
        <source>A map installation could not be completed, and not every map could be put back in its place. Nothing was deleted: these folders were kept as they are:%1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>InstallUpdateUninstallPage</name>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Would you like to install/update your&lt;br/&gt;maps or select maps to uninstall from&lt;br/&gt;your %1?&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>UNINSTALL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>INSTALL / UPDATE</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MajorReleaseAvailablePage</name>
    <message>
        <source>Transfer To GPS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Would you like to transfer your map(s) now to your GPS using Garmin MapInstall? You can always do so later.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SKIP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>YES</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;A new major release is available for your map.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&amp;nbsp;&amp;nbsp;&amp;nbsp;&amp;nbsp;&amp;nbsp;Your version: &lt;span style=&quot; font-weight:600;&quot;&gt;%1&lt;/span&gt;&lt;br/&gt;&amp;nbsp;&amp;nbsp;&amp;nbsp;&amp;nbsp;&amp;nbsp;Available version: &lt;span style=&quot; font-weight:600;&quot;&gt;%2&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>What&apos;s changed?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LEARN MORE ≻</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NeedHelpDialog</name>
    <message>
        <source>NEED HELP?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Need Help?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NetworkErrorText</name>
    <message>
        <source>The proxy server %1 asks for a user name and password, which HalvornSync cannot give. Please ask whoever looks after your network to let HalvornSync through, or use a connection without a proxy.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NoPCUpdatesAvailablePage</name>
    <message>
        <source>REINSTALL MAP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NEXT ≻</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your map is already
up to date on your %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Your version: &lt;span style=&quot; font-weight:600;&quot;&gt;%1&lt;br/&gt;&lt;/span&gt;Available version: &lt;span style=&quot; font-weight:600;&quot;&gt;%2&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NoSDUpdatesAvailablePage</name>
    <message>
        <source>REINSTALL MAP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NEXT ≻</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your map is already
up to date on your preprogrammed card.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Your version: &lt;span style=&quot; font-weight:600;&quot;&gt;%1&lt;br/&gt;&lt;/span&gt;Available version: &lt;span style=&quot; font-weight:600;&quot;&gt;%2&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No map was found
on your preprogrammed card.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Available version: &lt;span style=&quot; font-weight:600;&quot;&gt;%1&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>INSTALL MAP</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PCUpdatesAvailablePage</name>
    <message>
        <source>UPDATE NOW ≻</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SKIP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p align=&quot;center&quot;&gt;An update is available for&lt;br/&gt;your map on your %1.&lt;br/&gt;&lt;/p&gt;&lt;p&gt;&#xa0;&#xa0;&#xa0;&#xa0;&#xa0;Your version: &lt;span style=&quot; font-weight:600;&quot;&gt;%2&lt;br/&gt;&lt;/span&gt;&#xa0;&#xa0;&#xa0;&#xa0;&#xa0;Available version: &lt;span style=&quot; font-weight:600;&quot;&gt;%3&lt;/span&gt;&lt;/p&gt;&lt;p&gt;&lt;span style=&quot; text-decoration: underline;&quot;&gt;Please note&lt;/span&gt; that download and installation may take many hours. You won&apos;t be able to interrupt the process.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>What&apos;s changed?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PopupDialog</name>
    <message>
        <source>Need Help?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Please note that download and installation may take many hours.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProductInfo</name>
    <message>
        <source>Corrupted product info detected</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProductInfoRequest</name>
    <message>
        <source>The service did not answer.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProductInfoStep</name>
    <message>
        <source>CONTINUE ≻</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Information</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProductsUninstalledPage</name>
    <message>
        <source>NEXT ≻</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maps Uninstalled from %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The following maps were attempted to be
uninstalled:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SDUpdatesAvailablePage</name>
    <message>
        <source>UPDATE NOW ≻</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SKIP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p align=&quot;center&quot;&gt;An update is available for&lt;br/&gt;your map on your preprogrammed card.&lt;br/&gt;&lt;/p&gt;&lt;p&gt;&#xa0;&#xa0;&#xa0;&#xa0;&#xa0;Your version: &lt;span style=&quot; font-weight:600;&quot;&gt;%1&lt;br/&gt;&lt;/span&gt;&#xa0;&#xa0;&#xa0;&#xa0;&#xa0;Available version: &lt;span style=&quot; font-weight:600;&quot;&gt;%2&lt;/span&gt;&lt;/p&gt;&lt;p&gt;&lt;span style=&quot; text-decoration: underline;&quot;&gt;Please note&lt;/span&gt; that download and installation may take many hours. You won&apos;t be able to interrupt the process.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>What&apos;s changed?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SelectProductsPage</name>
    <message>
        <source>≺ BACK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>UNINSTALL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Maps to Uninstall from %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SerialDialog</name>
    <message>
        <source>Please enter the serial number of the product you want to install or update.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>≺ BACK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CONTINUE ≻</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Product Serial Number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SingleRun</name>
    <message>
        <source>Already running</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HalvornSync is already running.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation></translation>
    </message>
</context>
<context>
    <name>SupportLog</name>
    <message>
        <source>The support log is in %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ThankYouPage</name>
    <message>
        <source>Update Another Product</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>EXIT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p align=&quot;center&quot;&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Thank you for choosing Halvorn!&lt;/span&gt;&lt;/p&gt;&lt;p align=&quot;center&quot;&gt;Make sure to check out these&lt;br/&gt;resources:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Garmin BaseCamp</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Learning Center</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TransferToGPS2Page</name>
    <message>
        <source>SKIP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NEXT ≻</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Transfer To GPS&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Maps are transferred to your GPS unit using Garmin MapInstall.&lt;/p&gt;&lt;p&gt;Please connect your GPS unit to your computer and click &lt;span style=&quot; font-weight:600;&quot;&gt;Next&lt;/span&gt; to open up Garmin MapInstall.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Need Help?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TransferToGPS3Page</name>
    <message>
        <source>CONTINUE ≻</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Transfer To GPS&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Garmin MapInstall has just been launched.&lt;br/&gt;If Garmin MapInstall did not automatically launch, please run it from the %1.&lt;/p&gt;&lt;p&gt;Please follow the steps in Garmin MapInstall to transfer the map to your GPS unit.&lt;/p&gt;&lt;p&gt;Once transfer is complete, please come back to this window and click &lt;span style=&quot; font-weight:600;&quot;&gt;Continue&lt;/span&gt;.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Menu</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UninstallingPage</name>
    <message>
        <source>Uninstalling Maps from %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>One moment please.
We are uninstalling your map(s)...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>: &lt;font color=&quot;red&quot;&gt;Error (Maybe it is protected?)&lt;/font&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>: &lt;b&gt;Success&lt;/b&gt;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UpdateFirmwarePage</name>
    <message>
        <source>NEXT ≻</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;IMPORTANT&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Before continuing, please remove any microSD card in your GPS unit and update your GPS firmware.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Certain older firmwares do not support our maps and may have bugs that have since been fixed.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Update GPS Firmware</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>VersionReport</name>
    <message>
        <source>Updating new map version information failed.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ViewMapOnPCPage</name>
    <message>
        <source>View Map on %1?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Would you like to be able to view your preprogrammed card on your %1 in Garmin BaseCamp?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NO</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>YES</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SKIP</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
