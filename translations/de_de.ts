<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_de">
<context>
    <name>AboutInfoDialog</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>AccountInfoDialogController</name>
    <message>
        <source>Deposit Account Expired</source>
        <translation>Einzahlungskonto abgelaufen</translation>
    </message>
    <message>
        <source>Current Deposit Balance:</source>
        <translation>Aktuelles Einzahlungsguthaben:</translation>
    </message>
    <message>
        <source>Credit Account Expired</source>
        <translation>Kreditkonto abgelaufen</translation>
    </message>
    <message>
        <source>Current Credit Balance:</source>
        <translation>Aktuelles Kreditguthaben:</translation>
    </message>
</context>
<context>
    <name>AccountInfoDialogView</name>
    <message>
        <source>Account Information</source>
        <translation>Kontoinformationen</translation>
    </message>
    <message>
        <source>Max Deposit Balance</source>
        <translation>Maximales Einzahlungsguthaben</translation>
    </message>
    <message>
        <source>Max Credit Balance</source>
        <translation>Maximales Kreditguthaben</translation>
    </message>
    <message>
        <source>Allocation Balance</source>
        <translation>Zuteilungsguthaben</translation>
    </message>
    <message>
        <source>Library Deposit Balance</source>
        <translation>Bibliotheks-Einzahlungsguthaben</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>AutoReleaseMsgHandler</name>
    <message>
        <source>Your job has been released.</source>
        <translation>Ihr Auftrag wurde freigegeben.</translation>
    </message>
    <message>
        <source>Printer Family:</source>
        <translation>Druckerfamilie:</translation>
    </message>
    <message>
        <source>Pickup Location:</source>
        <translation>Abholort:</translation>
    </message>
    <message>
        <source>Job Released</source>
        <translation>Auftrag freigegeben</translation>
    </message>
    <message>
        <source>Paid From Allocation Account</source>
        <translation>Bezahlt vom Zuteilungskonto</translation>
    </message>
    <message>
        <source>Paid From Deposit Account</source>
        <translation>Bezahlt vom Einzahlungskonto</translation>
    </message>
    <message>
        <source>Paid From Credit Account</source>
        <translation>Bezahlt vom Kreditkonto</translation>
    </message>
    <message>
        <source>Payment Details:</source>
        <translation>Zahlungsdetails:</translation>
    </message>
</context>
<context>
    <name>ClientProcessingDialog</name>
    <message>
        <source>Please Wait...</source>
        <translation>Bitte warten...</translation>
    </message>
    <message>
        <source>Please Wait... Processing Job</source>
        <translation>Bitte warten... Auftrag wird verarbeitet</translation>
    </message>
    <message>
        <source>Please Wait... Submitting Job</source>
        <translation>Bitte warten... Auftrag wird gesendet</translation>
    </message>
    <message>
        <source>Please Wait... Registering with Print Service</source>
        <translation>Bitte warten... Anmeldung beim Druckdienst</translation>
    </message>
    <message>
        <source>Please Wait... Releasing Job</source>
        <translation>Bitte warten... Auftrag wird freigegeben</translation>
    </message>
</context>
<context>
    <name>CommonDialogMessages</name>
    <message>
        <source>Job Canceled</source>
        <translation>Auftrag abgebrochen</translation>
    </message>
    <message>
        <source>The document will be canceled</source>
        <translation>Das Dokument wird abgebrochen</translation>
    </message>
</context>
<context>
    <name>CopyrightLabel</name>
    <message>
        <source>All Rights Reserved</source>
        <translation>Alle Rechte vorbehalten</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
</context>
<context>
    <name>GuestJobReqHandler</name>
    <message>
        <source>Job Status Change</source>
        <translation>Änderung des Auftragsstatus</translation>
    </message>
    <message>
        <source>Your Identification Information shows you are either an inactive or invalid user. Do you wish to have your job sent as a GUEST job?</source>
        <translation>Ihre Identifikationsdaten weisen Sie als inaktiven oder ungültigen Benutzer aus. Möchten Sie Ihren Auftrag als GAST-Auftrag senden?</translation>
    </message>
</context>
<context>
    <name>JobConfirmationDialogController</name>
    <message>
        <source>Print Complete</source>
        <translation>Druck abgeschlossen</translation>
    </message>
    <message>
        <source>Your job has been received.</source>
        <translation>Ihr Auftrag ist eingegangen.</translation>
    </message>
    <message>
        <source>Job Number:</source>
        <translation>Auftragsnummer:</translation>
    </message>
    <message>
        <source>Expire Time:</source>
        <translation>Ablaufzeit:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>JobConfirmationDialogView</name>
    <message>
        <source>Release Terminal</source>
        <translation>Freigabeterminal</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Standort</translation>
    </message>
    <message>
        <source>Pickup Locations</source>
        <translation>Abholorte</translation>
    </message>
    <message>
        <source>Job received</source>
        <translation>Auftrag eingegangen</translation>
    </message>
</context>
<context>
    <name>KeyPad</name>
    <message>
        <source>Next Field</source>
        <translation>Nächstes Feld</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Backspace</source>
        <translation>Rücktaste</translation>
    </message>
    <message>
        <source>Shift </source>
        <translation>Umschalt </translation>
    </message>
    <message>
        <source>Space Bar</source>
        <translation>Leertaste</translation>
    </message>
</context>
<context>
    <name>KoaMainWindow</name>
    <message>
        <source>About Pellora</source>
        <translation>Über Pellora</translation>
    </message>
    <message>
        <source>Stop Print Client</source>
        <translation>Druck-Client beenden</translation>
    </message>
</context>
<context>
    <name>KoaPageCountValidator</name>
    <message>
        <source>The printing of your document is being cancelled because you have reached the maximum pages allowed per session.
Please contact a staff member for details.</source>
        <translation>Der Druck Ihres Dokuments wird abgebrochen, weil Sie die pro Sitzung erlaubte Höchstzahl an Seiten erreicht haben.
Bitte wenden Sie sich für Einzelheiten an einen Mitarbeiter.</translation>
    </message>
    <message>
        <source>The printing of your document will take you over the maximum pages allowed per session.
You will need approval from a staff member to carry out this operation.</source>
        <translation>Mit dem Druck Ihres Dokuments überschreiten Sie die pro Sitzung erlaubte Höchstzahl an Seiten.
Für diesen Vorgang benötigen Sie die Genehmigung eines Mitarbeiters.</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
</context>
<context>
    <name>Language Preferences</name>
    <message>
        <source>&lt;&lt;Language Name&gt;&gt;</source>
        <translation>Deutsch</translation>
    </message>
    <message>
        <source>Change Language</source>
        <translation>Sprache ändern</translation>
    </message>
    <message>
        <source>Close Language Options</source>
        <translation>Sprachoptionen schließen</translation>
    </message>
</context>
<context>
    <name>MacPrinterConnector</name>
    <message>
        <source>Locate Print Service</source>
        <translation>Druckdienst suchen</translation>
    </message>
    <message>
        <source>Please enter the IP address of the Print Service:</source>
        <translation>Bitte geben Sie die IP-Adresse des Druckdienstes ein:</translation>
    </message>
</context>
<context>
    <name>MessageDialog</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>PageCountDialogView</name>
    <message>
        <source>Print this job?</source>
        <translation>Diesen Auftrag drucken?</translation>
    </message>
    <message>
        <source>There is no charge to print this job.</source>
        <translation>Der Druck dieses Auftrags ist kostenlos.</translation>
    </message>
    <message>
        <source>Total Pages:</source>
        <translation>Seiten gesamt:</translation>
    </message>
    <message>
        <source>Duplex Mode:</source>
        <translation>Duplexmodus:</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>Aktiviert</translation>
    </message>
    <message>
        <source>Total Sheets:</source>
        <translation>Blätter gesamt:</translation>
    </message>
    <message>
        <source>Free Page:</source>
        <translation>Freie Seite:</translation>
    </message>
    <message>
        <source>Free Pages:</source>
        <translation>Freie Seiten:</translation>
    </message>
    <message>
        <source>Free Sheet:</source>
        <translation>Freies Blatt:</translation>
    </message>
    <message>
        <source>Free Sheets:</source>
        <translation>Freie Blätter:</translation>
    </message>
    <message>
        <source>Price Per Page:</source>
        <translation>Preis pro Seite:</translation>
    </message>
    <message>
        <source>Price Per Sheet:</source>
        <translation>Preis pro Blatt:</translation>
    </message>
    <message>
        <source>Total Cost:</source>
        <translation>Gesamtkosten:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Accounts</source>
        <translation>Konten</translation>
    </message>
</context>
<context>
    <name>PasswordDialog</name>
    <message>
        <source>PIN Required</source>
        <translation>PIN erforderlich</translation>
    </message>
    <message>
        <source>Password Required</source>
        <translation>Passwort erforderlich</translation>
    </message>
    <message>
        <source>Please enter the following information.</source>
        <translation>Bitte geben Sie die folgenden Informationen ein.</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>Please enter the staff password.</source>
        <translation>Bitte geben Sie das Mitarbeiterpasswort ein.</translation>
    </message>
    <message>
        <source>Please enter your PIN.</source>
        <translation>Bitte geben Sie Ihre PIN ein.</translation>
    </message>
    <message>
        <source>Staff Id</source>
        <translation>Mitarbeiter-ID</translation>
    </message>
    <message>
        <source>Reason for Override</source>
        <translation>Grund für die Ausnahme</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>PrintClientMessager</name>
    <message>
        <source>connection to %1 lost during the TLS handshake: %2</source>
        <translation>Verbindung zu %1 während des TLS-Handshakes verloren: %2</translation>
    </message>
    <message>
        <source>no connection to %1: %2</source>
        <translation>keine Verbindung zu %1: %2</translation>
    </message>
</context>
<context>
    <name>ReleaseConfirmationDialog</name>
    <message>
        <source>You are due a refund of %1.  The Refund Id is %2.  Please see staff for additional assistance.</source>
        <translation>Ihnen steht eine Erstattung von %1 zu.  Die Erstattungsnummer lautet %2.  Bitte wenden Sie sich für weitere Hilfe an einen Mitarbeiter.</translation>
    </message>
</context>
<context>
    <name>SiteTls</name>
    <message>
        <source>no name</source>
        <translation>kein Name</translation>
    </message>
    <message>
        <source>CA file %1 does not exist</source>
        <translation>CA-Datei %1 existiert nicht</translation>
    </message>
    <message>
        <source>CA file %1 cannot be read: %2</source>
        <translation>CA-Datei %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>CA file %1 is larger than 1 MiB</source>
        <translation>CA-Datei %1 ist größer als 1 MiB</translation>
    </message>
    <message>
        <source>CA file %1 holds no PEM certificate</source>
        <translation>CA-Datei %1 enthält kein PEM-Zertifikat</translation>
    </message>
    <message>
        <source>not in the system&apos;s CA store</source>
        <translation>nicht im CA-Speicher des Systems</translation>
    </message>
    <message>
        <source>not in %1</source>
        <translation>nicht in %1</translation>
    </message>
    <message>
        <source>certificate for %1 is not trusted: self-signed, %2</source>
        <translation>dem Zertifikat für %1 wird nicht vertraut: selbstsigniert, %2</translation>
    </message>
    <message>
        <source>certificate for %1 is not trusted: unknown issuer, %2</source>
        <translation>dem Zertifikat für %1 wird nicht vertraut: unbekannter Aussteller, %2</translation>
    </message>
    <message>
        <source>certificate for %1 is not trusted: issued by %2, %3</source>
        <translation>dem Zertifikat für %1 wird nicht vertraut: ausgestellt von %2, %3</translation>
    </message>
    <message>
        <source>certificate for %1 has expired (not after %2)</source>
        <translation>das Zertifikat für %1 ist abgelaufen (gültig bis %2)</translation>
    </message>
    <message>
        <source>certificate for %1 is not valid yet (not before %2)</source>
        <translation>das Zertifikat für %1 ist noch nicht gültig (gültig ab %2)</translation>
    </message>
    <message>
        <source>certificate for %1 names %2, not %1</source>
        <translation>das Zertifikat für %1 nennt %2, nicht %1</translation>
    </message>
    <message>
        <source>certificate for %1 is refused: %2</source>
        <translation>das Zertifikat für %1 wird abgelehnt: %2</translation>
    </message>
    <message>
        <source>certificate for %1 is refused</source>
        <translation>das Zertifikat für %1 wird abgelehnt</translation>
    </message>
    <message>
        <source>no TLS handshake from %1:%2 within %3 s</source>
        <translation>kein TLS-Handshake von %1:%2 innerhalb von %3 s</translation>
    </message>
    <message>
        <source>no TLS handshake from %1:%2: the server does not speak TLS</source>
        <translation>kein TLS-Handshake von %1:%2: der Server spricht kein TLS</translation>
    </message>
</context>
<context>
    <name>TrayConnectionStatus</name>
    <message>
        <source>Connecting to the Print Service at %1…</source>
        <translation>Verbindung zum Druckdienst unter %1 wird hergestellt…</translation>
    </message>
    <message>
        <source>Connected to the Print Service at %1</source>
        <translation>Verbunden mit dem Druckdienst unter %1</translation>
    </message>
    <message>
        <source>Not connected: trying to reconnect to the Print Service at %1…</source>
        <translation>Nicht verbunden: neuer Verbindungsversuch zum Druckdienst unter %1…</translation>
    </message>
    <message>
        <source>Not connected (%2): trying to reconnect to the Print Service at %1…</source>
        <translation>Nicht verbunden (%2): neuer Verbindungsversuch zum Druckdienst unter %1…</translation>
    </message>
</context>
<context>
    <name>TsInputDialog</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>UserIdDialogView</name>
    <message>
        <source>User Identification</source>
        <translation>Benutzeridentifikation</translation>
    </message>
    <message>
        <source>Please enter the following information.</source>
        <translation>Bitte geben Sie die folgenden Informationen ein.</translation>
    </message>
    <message>
        <source>User ID</source>
        <translation>Benutzer-ID</translation>
    </message>
    <message>
        <source>User PIN</source>
        <translation>Benutzer-PIN</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>GUEST USERS: Please create the information requested above and remember it for use at the Print Release Terminal.</source>
        <translation>GASTBENUTZER: Bitte legen Sie die oben verlangten Angaben fest und merken Sie sie sich für das Druckfreigabeterminal.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Unable to connect to any printers.  Please see a staff member for assistance.</source>
        <translation>Es kann keine Verbindung zu einem Drucker hergestellt werden.  Bitte wenden Sie sich an einen Mitarbeiter.</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>Menü</translation>
    </message>
</context>
</TS>
