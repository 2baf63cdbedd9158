<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_ca">
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
        <translation>Compte de dépôt expiré</translation>
    </message>
    <message>
        <source>Current Deposit Balance:</source>
        <translation>Solde de dépôt actuel :</translation>
    </message>
    <message>
        <source>Credit Account Expired</source>
        <translation>Compte de crédit expiré</translation>
    </message>
    <message>
        <source>Current Credit Balance:</source>
        <translation>Solde de crédit actuel :</translation>
    </message>
</context>
<context>
    <name>AccountInfoDialogView</name>
    <message>
        <source>Account Information</source>
        <translation>Renseignements sur le compte</translation>
    </message>
    <message>
        <source>Max Deposit Balance</source>
        <translation>Solde de dépôt maximal</translation>
    </message>
    <message>
        <source>Max Credit Balance</source>
        <translation>Solde de crédit maximal</translation>
    </message>
    <message>
        <source>Allocation Balance</source>
        <translation>Solde d&apos;allocation</translation>
    </message>
    <message>
        <source>Library Deposit Balance</source>
        <translation>Solde de dépôt de la bibliothèque</translation>
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
        <translation>Votre travail a été libéré.</translation>
    </message>
    <message>
        <source>Printer Family:</source>
        <translation>Famille d&apos;imprimantes :</translation>
    </message>
    <message>
        <source>Pickup Location:</source>
        <translation>Lieu de récupération :</translation>
    </message>
    <message>
        <source>Job Released</source>
        <translation>Travail libéré</translation>
    </message>
    <message>
        <source>Paid From Allocation Account</source>
        <translation>Payé par le compte d&apos;allocation</translation>
    </message>
    <message>
        <source>Paid From Deposit Account</source>
        <translation>Payé par le compte de dépôt</translation>
    </message>
    <message>
        <source>Paid From Credit Account</source>
        <translation>Payé par le compte de crédit</translation>
    </message>
    <message>
        <source>Payment Details:</source>
        <translation>Détails du paiement :</translation>
    </message>
</context>
<context>
    <name>ClientProcessingDialog</name>
    <message>
        <source>Please Wait...</source>
        <translation>Veuillez patienter...</translation>
    </message>
    <message>
        <source>Please Wait... Processing Job</source>
        <translation>Veuillez patienter... Traitement du travail</translation>
    </message>
    <message>
        <source>Please Wait... Submitting Job</source>
        <translation>Veuillez patienter... Envoi du travail</translation>
    </message>
    <message>
        <source>Please Wait... Registering with Print Service</source>
        <translation>Veuillez patienter... Inscription auprès du service d&apos;impression</translation>
    </message>
    <message>
        <source>Please Wait... Releasing Job</source>
        <translation>Veuillez patienter... Libération du travail</translation>
    </message>
</context>
<context>
    <name>CommonDialogMessages</name>
    <message>
        <source>Job Canceled</source>
        <translation>Travail annulé</translation>
    </message>
    <message>
        <source>The document will be canceled</source>
        <translation>Le document sera annulé</translation>
    </message>
</context>
<context>
    <name>CopyrightLabel</name>
    <message>
        <source>All Rights Reserved</source>
        <translation>Tous droits réservés</translation>
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
        <translation>Changement d&apos;état du travail</translation>
    </message>
    <message>
        <source>Your Identification Information shows you are either an inactive or invalid user. Do you wish to have your job sent as a GUEST job?</source>
        <translation>Vos renseignements d&apos;identification indiquent que vous êtes un utilisateur inactif ou non valide. Voulez-vous envoyer votre travail comme travail INVITÉ?</translation>
    </message>
</context>
<context>
    <name>JobConfirmationDialogController</name>
    <message>
        <source>Print Complete</source>
        <translation>Impression terminée</translation>
    </message>
    <message>
        <source>Your job has been received.</source>
        <translation>Votre travail a été reçu.</translation>
    </message>
    <message>
        <source>Job Number:</source>
        <translation>Numéro du travail :</translation>
    </message>
    <message>
        <source>Expire Time:</source>
        <translation>Heure d&apos;expiration :</translation>
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
        <translation>Terminal de libération</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Emplacement</translation>
    </message>
    <message>
        <source>Pickup Locations</source>
        <translation>Lieux de récupération</translation>
    </message>
    <message>
        <source>Job received</source>
        <translation>Travail reçu</translation>
    </message>
</context>
<context>
    <name>KeyPad</name>
    <message>
        <source>Next Field</source>
        <translation>Champ suivant</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Effacer</translation>
    </message>
    <message>
        <source>Backspace</source>
        <translation>Retour arrière</translation>
    </message>
    <message>
        <source>Shift </source>
        <translation>Maj </translation>
    </message>
    <message>
        <source>Space Bar</source>
        <translation>Barre d&apos;espacement</translation>
    </message>
</context>
<context>
    <name>KoaMainWindow</name>
    <message>
        <source>About Pellora</source>
        <translation>À propos de Pellora</translation>
    </message>
    <message>
        <source>Stop Print Client</source>
        <translation>Arrêter le client d&apos;impression</translation>
    </message>
</context>
<context>
    <name>KoaPageCountValidator</name>
    <message>
        <source>The printing of your document is being cancelled because you have reached the maximum pages allowed per session.
Please contact a staff member for details.</source>
        <translation>L&apos;impression de votre document est annulée parce que vous avez atteint le nombre maximal de pages permis par session.
Veuillez communiquer avec un membre du personnel pour plus de détails.</translation>
    </message>
    <message>
        <source>The printing of your document will take you over the maximum pages allowed per session.
You will need approval from a staff member to carry out this operation.</source>
        <translation>L&apos;impression de votre document vous fera dépasser le nombre maximal de pages permis par session.
Vous aurez besoin de l&apos;approbation d&apos;un membre du personnel pour effectuer cette opération.</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Avertissement</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
</context>
<context>
    <name>Language Preferences</name>
    <message>
        <source>&lt;&lt;Language Name&gt;&gt;</source>
        <translation>Français</translation>
    </message>
    <message>
        <source>Change Language</source>
        <translation>Changer de langue</translation>
    </message>
    <message>
        <source>Close Language Options</source>
        <translation>Fermer les options de langue</translation>
    </message>
</context>
<context>
    <name>MacPrinterConnector</name>
    <message>
        <source>Locate Print Service</source>
        <translation>Localiser le service d&apos;impression</translation>
    </message>
    <message>
        <source>Please enter the IP address of the Print Service:</source>
        <translation>Veuillez entrer l&apos;adresse IP du service d&apos;impression :</translation>
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
        <translation>Oui</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Non</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>PageCountDialogView</name>
    <message>
        <source>Print this job?</source>
        <translation>Imprimer ce travail?</translation>
    </message>
    <message>
        <source>There is no charge to print this job.</source>
        <translation>L&apos;impression de ce travail est gratuite.</translation>
    </message>
    <message>
        <source>Total Pages:</source>
        <translation>Nombre total de pages :</translation>
    </message>
    <message>
        <source>Duplex Mode:</source>
        <translation>Mode recto verso :</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>Activé</translation>
    </message>
    <message>
        <source>Total Sheets:</source>
        <translation>Nombre total de feuilles :</translation>
    </message>
    <message>
        <source>Free Page:</source>
        <translation>Page gratuite :</translation>
    </message>
    <message>
        <source>Free Pages:</source>
        <translation>Pages gratuites :</translation>
    </message>
    <message>
        <source>Free Sheet:</source>
        <translation>Feuille gratuite :</translation>
    </message>
    <message>
        <source>Free Sheets:</source>
        <translation>Feuilles gratuites :</translation>
    </message>
    <message>
        <source>Price Per Page:</source>
        <translation>Prix par page :</translation>
    </message>
    <message>
        <source>Price Per Sheet:</source>
        <translation>Prix par feuille :</translation>
    </message>
    <message>
        <source>Total Cost:</source>
        <translation>Coût total :</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Accounts</source>
        <translation>Comptes</translation>
    </message>
</context>
<context>
    <name>PasswordDialog</name>
    <message>
        <source>PIN Required</source>
        <translation>NIP requis</translation>
    </message>
    <message>
        <source>Password Required</source>
        <translation>Mot de passe requis</translation>
    </message>
    <message>
        <source>Please enter the following information.</source>
        <translation>Veuillez entrer les renseignements suivants.</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Mot de passe</translation>
    </message>
    <message>
        <source>Please enter the staff password.</source>
        <translation>Veuillez entrer le mot de passe du personnel.</translation>
    </message>
    <message>
        <source>Please enter your PIN.</source>
        <translation>Veuillez entrer votre NIP.</translation>
    </message>
    <message>
        <source>Staff Id</source>
        <translation>Code du personnel</translation>
    </message>
    <message>
        <source>Reason for Override</source>
        <translation>Motif de la dérogation</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>PrintClientMessager</name>
    <message>
        <source>connection to %1 lost during the TLS handshake: %2</source>
        <translation>connexion à %1 perdue pendant la négociation TLS : %2</translation>
    </message>
    <message>
        <source>no connection to %1: %2</source>
        <translation>aucune connexion à %1 : %2</translation>
    </message>
</context>
<context>
    <name>ReleaseConfirmationDialog</name>
    <message>
        <source>You are due a refund of %1.  The Refund Id is %2.  Please see staff for additional assistance.</source>
        <translation>Vous avez droit à un remboursement de %1.  Le numéro de remboursement est %2.  Veuillez vous adresser au personnel pour obtenir de l&apos;aide.</translation>
    </message>
</context>
<context>
    <name>SiteTls</name>
    <message>
        <source>no name</source>
        <translation>aucun nom</translation>
    </message>
    <message>
        <source>CA file %1 does not exist</source>
        <translation>le fichier d&apos;AC %1 n&apos;existe pas</translation>
    </message>
    <message>
        <source>CA file %1 cannot be read: %2</source>
        <translation>le fichier d&apos;AC %1 ne peut pas être lu : %2</translation>
    </message>
    <message>
        <source>CA file %1 is larger than 1 MiB</source>
        <translation>le fichier d&apos;AC %1 dépasse 1 Mio</translation>
    </message>
    <message>
        <source>CA file %1 holds no PEM certificate</source>
        <translation>le fichier d&apos;AC %1 ne contient aucun certificat PEM</translation>
    </message>
    <message>
        <source>not in the system&apos;s CA store</source>
        <translation>absent du magasin d&apos;AC du système</translation>
    </message>
    <message>
        <source>not in %1</source>
        <translation>absent de %1</translation>
    </message>
    <message>
        <source>certificate for %1 is not trusted: self-signed, %2</source>
        <translation>le certificat de %1 n&apos;est pas approuvé : autosigné, %2</translation>
    </message>
    <message>
        <source>certificate for %1 is not trusted: unknown issuer, %2</source>
        <translation>le certificat de %1 n&apos;est pas approuvé : émetteur inconnu, %2</translation>
    </message>
    <message>
        <source>certificate for %1 is not trusted: issued by %2, %3</source>
        <translation>le certificat de %1 n&apos;est pas approuvé : émis par %2, %3</translation>
    </message>
    <message>
        <source>certificate for %1 has expired (not after %2)</source>
        <translation>le certificat de %1 a expiré (valide jusqu&apos;au %2)</translation>
    </message>
    <message>
        <source>certificate for %1 is not valid yet (not before %2)</source>
        <translation>le certificat de %1 n&apos;est pas encore valide (valide à partir du %2)</translation>
    </message>
    <message>
        <source>certificate for %1 names %2, not %1</source>
        <translation>le certificat de %1 nomme %2, et non %1</translation>
    </message>
    <message>
        <source>certificate for %1 is refused: %2</source>
        <translation>le certificat de %1 est refusé : %2</translation>
    </message>
    <message>
        <source>certificate for %1 is refused</source>
        <translation>le certificat de %1 est refusé</translation>
    </message>
    <message>
        <source>no TLS handshake from %1:%2 within %3 s</source>
        <translation>aucune négociation TLS de %1:%2 en %3 s</translation>
    </message>
    <message>
        <source>no TLS handshake from %1:%2: the server does not speak TLS</source>
        <translation>aucune négociation TLS de %1:%2 : le serveur ne parle pas TLS</translation>
    </message>
</context>
<context>
    <name>TrayConnectionStatus</name>
    <message>
        <source>Connecting to the Print Service at %1…</source>
        <translation>Connexion au service d&apos;impression à %1…</translation>
    </message>
    <message>
        <source>Connected to the Print Service at %1</source>
        <translation>Connecté au service d&apos;impression à %1</translation>
    </message>
    <message>
        <source>Not connected: trying to reconnect to the Print Service at %1…</source>
        <translation>Non connecté : nouvelle tentative de connexion au service d&apos;impression à %1…</translation>
    </message>
    <message>
        <source>Not connected (%2): trying to reconnect to the Print Service at %1…</source>
        <translation>Non connecté (%2) : nouvelle tentative de connexion au service d&apos;impression à %1…</translation>
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
        <translation>Identification de l&apos;utilisateur</translation>
    </message>
    <message>
        <source>Please enter the following information.</source>
        <translation>Veuillez entrer les renseignements suivants.</translation>
    </message>
    <message>
        <source>User ID</source>
        <translation>Code d&apos;utilisateur</translation>
    </message>
    <message>
        <source>User PIN</source>
        <translation>NIP de l&apos;utilisateur</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>GUEST USERS: Please create the information requested above and remember it for use at the Print Release Terminal.</source>
        <translation>UTILISATEURS INVITÉS : Veuillez créer les renseignements demandés ci-dessus et les retenir pour le terminal de libération des impressions.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Unable to connect to any printers.  Please see a staff member for assistance.</source>
        <translation>Impossible de se connecter à une imprimante.  Veuillez vous adresser à un membre du personnel pour obtenir de l&apos;aide.</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Fichier</translation>
    </message>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>Menu</translation>
    </message>
</context>
</TS>
