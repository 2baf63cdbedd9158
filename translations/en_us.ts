<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_us">
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
        <translation>Deposit Account Expired</translation>
    </message>
    <message>
        <source>Current Deposit Balance:</source>
        <translation>Current Deposit Balance:</translation>
    </message>
    <message>
        <source>Credit Account Expired</source>
        <translation>Credit Account Expired</translation>
    </message>
    <message>
        <source>Current Credit Balance:</source>
        <translation>Current Credit Balance:</translation>
    </message>
</context>
<context>
    <name>AccountInfoDialogView</name>
    <message>
        <source>Account Information</source>
        <translation>Account Information</translation>
    </message>
    <message>
        <source>Max Deposit Balance</source>
        <translation>Max Deposit Balance</translation>
    </message>
    <message>
        <source>Max Credit Balance</source>
        <translation>Max Credit Balance</translation>
    </message>
    <message>
        <source>Allocation Balance</source>
        <translation>Allocation Balance</translation>
    </message>
    <message>
        <source>Library Deposit Balance</source>
        <translation>Library Deposit Balance</translation>
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
        <translation>Your job has been released.</translation>
    </message>
    <message>
        <source>Printer Family:</source>
        <translation>Printer Family:</translation>
    </message>
    <message>
        <source>Pickup Location:</source>
        <translation>Pickup Location:</translation>
    </message>
    <message>
        <source>Job Released</source>
        <translation>Job Released</translation>
    </message>
    <message>
        <source>Paid From Allocation Account</source>
        <translation>Paid From Allocation Account</translation>
    </message>
    <message>
        <source>Paid From Deposit Account</source>
        <translation>Paid From Deposit Account</translation>
    </message>
    <message>
        <source>Paid From Credit Account</source>
        <translation>Paid From Credit Account</translation>
    </message>
    <message>
        <source>Payment Details:</source>
        <translation>Payment Details:</translation>
    </message>
</context>
<context>
    <name>ClientProcessingDialog</name>
    <message>
        <source>Please Wait...</source>
        <translation>Please Wait...</translation>
    </message>
    <message>
        <source>Please Wait... Processing Job</source>
        <translation>Please Wait... Processing Job</translation>
    </message>
    <message>
        <source>Please Wait... Submitting Job</source>
        <translation>Please Wait... Submitting Job</translation>
    </message>
    <message>
        <source>Please Wait... Registering with Print Service</source>
        <translation>Please Wait... Registering with Print Service</translation>
    </message>
    <message>
        <source>Please Wait... Releasing Job</source>
        <translation>Please Wait... Releasing Job</translation>
    </message>
</context>
<context>
    <name>CommonDialogMessages</name>
    <message>
        <source>Job Canceled</source>
        <translation>Job Canceled</translation>
    </message>
    <message>
        <source>The document will be canceled</source>
        <translation>The document will be canceled</translation>
    </message>
</context>
<context>
    <name>CopyrightLabel</name>
    <message>
        <source>All Rights Reserved</source>
        <translation>All Rights Reserved</translation>
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
        <translation>Job Status Change</translation>
    </message>
    <message>
        <source>Your Identification Information shows you are either an inactive or invalid user. Do you wish to have your job sent as a GUEST job?</source>
        <translation>Your Identification Information shows you are either an inactive or invalid user. Do you wish to have your job sent as a GUEST job?</translation>
    </message>
</context>
<context>
    <name>JobConfirmationDialogController</name>
    <message>
        <source>Print Complete</source>
        <translation>Print Complete</translation>
    </message>
    <message>
        <source>Your job has been received.</source>
        <translation>Your job has been received.</translation>
    </message>
    <message>
        <source>Job Number:</source>
        <translation>Job Number:</translation>
    </message>
    <message>
        <source>Expire Time:</source>
        <translation>Expire Time:</translation>
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
        <translation>Release Terminal</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Location</translation>
    </message>
    <message>
        <source>Pickup Locations</source>
        <translation>Pickup Locations</translation>
    </message>
    <message>
        <source>Job received</source>
        <translation>Job received</translation>
    </message>
</context>
<context>
    <name>KeyPad</name>
    <message>
        <source>Next Field</source>
        <translation>Next Field</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Backspace</source>
        <translation>Backspace</translation>
    </message>
    <message>
        <source>Shift </source>
        <translation>Shift </translation>
    </message>
    <message>
        <source>Space Bar</source>
        <translation>Space Bar</translation>
    </message>
</context>
<context>
    <name>KoaMainWindow</name>
    <message>
        <source>About Pellora</source>
        <translation>About Pellora</translation>
    </message>
    <message>
        <source>Stop Print Client</source>
        <translation>Stop Print Client</translation>
    </message>
</context>
<context>
    <name>KoaPageCountValidator</name>
    <message>
        <source>The printing of your document is being cancelled because you have reached the maximum pages allowed per session.
Please contact a staff member for details.</source>
        <translation>The printing of your document is being cancelled because you have reached the maximum pages allowed per session.
Please contact a staff member for details.</translation>
    </message>
    <message>
        <source>The printing of your document will take you over the maximum pages allowed per session.
You will need approval from a staff member to carry out this operation.</source>
        <translation>The printing of your document will take you over the maximum pages allowed per session.
You will need approval from a staff member to carry out this operation.</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>Language Preferences</name>
    <message>
        <source>&lt;&lt;Language Name&gt;&gt;</source>
        <translation>English</translation>
    </message>
    <message>
        <source>Change Language</source>
        <translation>Change Language</translation>
    </message>
    <message>
        <source>Close Language Options</source>
        <translation>Close Language Options</translation>
    </message>
</context>
<context>
    <name>MacPrinterConnector</name>
    <message>
        <source>Locate Print Service</source>
        <translation>Locate Print Service</translation>
    </message>
    <message>
        <source>Please enter the IP address of the Print Service:</source>
        <translation>Please enter the IP address of the Print Service:</translation>
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
        <translation>Yes</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>PageCountDialogView</name>
    <message>
        <source>Print this job?</source>
        <translation>Print this job?</translation>
    </message>
    <message>
        <source>There is no charge to print this job.</source>
        <translation>There is no charge to print this job.</translation>
    </message>
    <message>
        <source>Total Pages:</source>
        <translation>Total Pages:</translation>
    </message>
    <message>
        <source>Duplex Mode:</source>
        <translation>Duplex Mode:</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>Enabled</translation>
    </message>
    <message>
        <source>Total Sheets:</source>
        <translation>Total Sheets:</translation>
    </message>
    <message>
        <source>Free Page:</source>
        <translation>Free Page:</translation>
    </message>
    <message>
        <source>Free Pages:</source>
        <translation>Free Pages:</translation>
    </message>
    <message>
        <source>Free Sheet:</source>
        <translation>Free Sheet:</translation>
    </message>
    <message>
        <source>Free Sheets:</source>
        <translation>Free Sheets:</translation>
    </message>
    <message>
        <source>Price Per Page:</source>
        <translation>Price Per Page:</translation>
    </message>
    <message>
        <source>Price Per Sheet:</source>
        <translation>Price Per Sheet:</translation>
    </message>
    <message>
        <source>Total Cost:</source>
        <translation>Total Cost:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Accounts</source>
        <translation>Accounts</translation>
    </message>
</context>
<context>
    <name>PasswordDialog</name>
    <message>
        <source>PIN Required</source>
        <translation>PIN Required</translation>
    </message>
    <message>
        <source>Password Required</source>
        <translation>Password Required</translation>
    </message>
    <message>
        <source>Please enter the following information.</source>
        <translation>Please enter the following information.</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>Please enter the staff password.</source>
        <translation>Please enter the staff password.</translation>
    </message>
    <message>
        <source>Please enter your PIN.</source>
        <translation>Please enter your PIN.</translation>
    </message>
    <message>
        <source>Staff Id</source>
        <translation>Staff Id</translation>
    </message>
    <message>
        <source>Reason for Override</source>
        <translation>Reason for Override</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>PrintClientMessager</name>
    <message>
        <source>connection to %1 lost during the TLS handshake: %2</source>
        <translation>connection to %1 lost during the TLS handshake: %2</translation>
    </message>
    <message>
        <source>no connection to %1: %2</source>
        <translation>no connection to %1: %2</translation>
    </message>
</context>
<context>
    <name>ReleaseConfirmationDialog</name>
    <message>
        <source>You are due a refund of %1.  The Refund Id is %2.  Please see staff for additional assistance.</source>
        <translation>You are due a refund of %1.  The Refund Id is %2.  Please see staff for additional assistance.</translation>
    </message>
</context>
<context>
    <name>SiteTls</name>
    <message>
        <source>no name</source>
        <translation>no name</translation>
    </message>
    <message>
        <source>CA file %1 does not exist</source>
        <translation>CA file %1 does not exist</translation>
    </message>
    <message>
        <source>CA file %1 cannot be read: %2</source>
        <translation>CA file %1 cannot be read: %2</translation>
    </message>
    <message>
        <source>CA file %1 is larger than 1 MiB</source>
        <translation>CA file %1 is larger than 1 MiB</translation>
    </message>
    <message>
        <source>CA file %1 holds no PEM certificate</source>
        <translation>CA file %1 holds no PEM certificate</translation>
    </message>
    <message>
        <source>not in the system&apos;s CA store</source>
        <translation>not in the system&apos;s CA store</translation>
    </message>
    <message>
        <source>not in %1</source>
        <translation>not in %1</translation>
    </message>
    <message>
        <source>certificate for %1 is not trusted: self-signed, %2</source>
        <translation>certificate for %1 is not trusted: self-signed, %2</translation>
    </message>
    <message>
        <source>certificate for %1 is not trusted: unknown issuer, %2</source>
        <translation>certificate for %1 is not trusted: unknown issuer, %2</translation>
    </message>
    <message>
        <source>certificate for %1 is not trusted: issued by %2, %3</source>
        <translation>certificate for %1 is not trusted: issued by %2, %3</translation>
    </message>
    <message>
        <source>certificate for %1 has expired (not after %2)</source>
        <translation>certificate for %1 has expired (not after %2)</translation>
    </message>
    <message>
        <source>certificate for %1 is not valid yet (not before %2)</source>
        <translation>certificate for %1 is not valid yet (not before %2)</translation>
    </message>
    <message>
        <source>certificate for %1 names %2, not %1</source>
        <translation>certificate for %1 names %2, not %1</translation>
    </message>
    <message>
        <source>certificate for %1 is refused: %2</source>
        <translation>certificate for %1 is refused: %2</translation>
    </message>
    <message>
        <source>certificate for %1 is refused</source>
        <translation>certificate for %1 is refused</translation>
    </message>
    <message>
        <source>no TLS handshake from %1:%2 within %3 s</source>
        <translation>no TLS handshake from %1:%2 within %3 s</translation>
    </message>
    <message>
        <source>no TLS handshake from %1:%2: the server does not speak TLS</source>
        <translation>no TLS handshake from %1:%2: the server does not speak TLS</translation>
    </message>
</context>
<context>
    <name>TrayConnectionStatus</name>
    <message>
        <source>Connecting to the Print Service at %1…</source>
        <translation>Connecting to the Print Service at %1…</translation>
    </message>
    <message>
        <source>Connected to the Print Service at %1</source>
        <translation>Connected to the Print Service at %1</translation>
    </message>
    <message>
        <source>Not connected: trying to reconnect to the Print Service at %1…</source>
        <translation>Not connected: trying to reconnect to the Print Service at %1…</translation>
    </message>
    <message>
        <source>Not connected (%2): trying to reconnect to the Print Service at %1…</source>
        <translation>Not connected (%2): trying to reconnect to the Print Service at %1…</translation>
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
        <translation>User Identification</translation>
    </message>
    <message>
        <source>Please enter the following information.</source>
        <translation>Please enter the following information.</translation>
    </message>
    <message>
        <source>User ID</source>
        <translation>User ID</translation>
    </message>
    <message>
        <source>User PIN</source>
        <translation>User PIN</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>GUEST USERS: Please create the information requested above and remember it for use at the Print Release Terminal.</source>
        <translation>GUEST USERS: Please create the information requested above and remember it for use at the Print Release Terminal.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Unable to connect to any printers.  Please see a staff member for assistance.</source>
        <translation>Unable to connect to any printers.  Please see a staff member for assistance.</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>File</source>
        <translation>File</translation>
    </message>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>Menu</translation>
    </message>
</context>
</TS>
