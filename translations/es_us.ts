<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_us">
<context>
    <name>AboutInfoDialog</name>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
</context>
<context>
    <name>AccountInfoDialogController</name>
    <message>
        <source>Deposit Account Expired</source>
        <translation>Cuenta de depósito vencida</translation>
    </message>
    <message>
        <source>Current Deposit Balance:</source>
        <translation>Saldo de depósito actual:</translation>
    </message>
    <message>
        <source>Credit Account Expired</source>
        <translation>Cuenta de crédito vencida</translation>
    </message>
    <message>
        <source>Current Credit Balance:</source>
        <translation>Saldo de crédito actual:</translation>
    </message>
</context>
<context>
    <name>AccountInfoDialogView</name>
    <message>
        <source>Account Information</source>
        <translation>Información de la cuenta</translation>
    </message>
    <message>
        <source>Max Deposit Balance</source>
        <translation>Saldo máximo de depósito</translation>
    </message>
    <message>
        <source>Max Credit Balance</source>
        <translation>Saldo máximo de crédito</translation>
    </message>
    <message>
        <source>Allocation Balance</source>
        <translation>Saldo de asignación</translation>
    </message>
    <message>
        <source>Library Deposit Balance</source>
        <translation>Saldo de depósito de la biblioteca</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
</context>
<context>
    <name>AutoReleaseMsgHandler</name>
    <message>
        <source>Your job has been released.</source>
        <translation>Su trabajo ha sido liberado.</translation>
    </message>
    <message>
        <source>Printer Family:</source>
        <translation>Familia de impresoras:</translation>
    </message>
    <message>
        <source>Pickup Location:</source>
        <translation>Lugar de recogida:</translation>
    </message>
    <message>
        <source>Job Released</source>
        <translation>Trabajo liberado</translation>
    </message>
    <message>
        <source>Paid From Allocation Account</source>
        <translation>Pagado con la cuenta de asignación</translation>
    </message>
    <message>
        <source>Paid From Deposit Account</source>
        <translation>Pagado con la cuenta de depósito</translation>
    </message>
    <message>
        <source>Paid From Credit Account</source>
        <translation>Pagado con la cuenta de crédito</translation>
    </message>
    <message>
        <source>Payment Details:</source>
        <translation>Detalles del pago:</translation>
    </message>
</context>
<context>
    <name>ClientProcessingDialog</name>
    <message>
        <source>Please Wait...</source>
        <translation>Espere por favor...</translation>
    </message>
    <message>
        <source>Please Wait... Processing Job</source>
        <translation>Espere por favor... Procesando el trabajo</translation>
    </message>
    <message>
        <source>Please Wait... Submitting Job</source>
        <translation>Espere por favor... Enviando el trabajo</translation>
    </message>
    <message>
        <source>Please Wait... Registering with Print Service</source>
        <translation>Espere por favor... Registrándose en el servicio de impresión</translation>
    </message>
    <message>
        <source>Please Wait... Releasing Job</source>
        <translation>Espere por favor... Liberando el trabajo</translation>
    </message>
</context>
<context>
    <name>CommonDialogMessages</name>
    <message>
        <source>Job Canceled</source>
        <translation>Trabajo cancelado</translation>
    </message>
    <message>
        <source>The document will be canceled</source>
        <translation>El documento será cancelado</translation>
    </message>
</context>
<context>
    <name>CopyrightLabel</name>
    <message>
        <source>All Rights Reserved</source>
        <translation>Todos los derechos reservados</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Versión %1</translation>
    </message>
</context>
<context>
    <name>GuestJobReqHandler</name>
    <message>
        <source>Job Status Change</source>
        <translation>Cambio de estado del trabajo</translation>
    </message>
    <message>
        <source>Your Identification Information shows you are either an inactive or invalid user. Do you wish to have your job sent as a GUEST job?</source>
        <translation>Su información de identificación indica que usted es un usuario inactivo o no válido. ¿Desea enviar su trabajo como trabajo de INVITADO?</translation>
    </message>
</context>
<context>
    <name>JobConfirmationDialogController</name>
    <message>
        <source>Print Complete</source>
        <translation>Impresión completada</translation>
    </message>
    <message>
        <source>Your job has been received.</source>
        <translation>Su trabajo ha sido recibido.</translation>
    </message>
    <message>
        <source>Job Number:</source>
        <translation>Número de trabajo:</translation>
    </message>
    <message>
        <source>Expire Time:</source>
        <translation>Hora de vencimiento:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
</context>
<context>
    <name>JobConfirmationDialogView</name>
    <message>
        <source>Release Terminal</source>
        <translation>Terminal de liberación</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Ubicación</translation>
    </message>
    <message>
        <source>Pickup Locations</source>
        <translation>Lugares de recogida</translation>
    </message>
    <message>
        <source>Job received</source>
        <translation>Trabajo recibido</translation>
    </message>
</context>
<context>
    <name>KeyPad</name>
    <message>
        <source>Next Field</source>
        <translation>Campo siguiente</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Borrar</translation>
    </message>
    <message>
        <source>Backspace</source>
        <translation>Retroceso</translation>
    </message>
    <message>
        <source>Shift </source>
        <translation>Mayús </translation>
    </message>
    <message>
        <source>Space Bar</source>
        <translation>Barra espaciadora</translation>
    </message>
</context>
<context>
    <name>KoaMainWindow</name>
    <message>
        <source>About Pellora</source>
        <translation>Acerca de Pellora</translation>
    </message>
    <message>
        <source>Stop Print Client</source>
        <translation>Detener el cliente de impresión</translation>
    </message>
</context>
<context>
    <name>KoaPageCountValidator</name>
    <message>
        <source>The printing of your document is being cancelled because you have reached the maximum pages allowed per session.
Please contact a staff member for details.</source>
        <translation>La impresión de su documento se está cancelando porque ha alcanzado el máximo de páginas permitidas por sesión.
Póngase en contacto con un miembro del personal para más detalles.</translation>
    </message>
    <message>
        <source>The printing of your document will take you over the maximum pages allowed per session.
You will need approval from a staff member to carry out this operation.</source>
        <translation>La impresión de su documento superará el máximo de páginas permitidas por sesión.
Necesitará la aprobación de un miembro del personal para realizar esta operación.</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Advertencia</translation>
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
        <translation>Español</translation>
    </message>
    <message>
        <source>Change Language</source>
        <translation>Cambiar idioma</translation>
    </message>
    <message>
        <source>Close Language Options</source>
        <translation>Cerrar opciones de idioma</translation>
    </message>
</context>
<context>
    <name>MacPrinterConnector</name>
    <message>
        <source>Locate Print Service</source>
        <translation>Localizar el servicio de impresión</translation>
    </message>
    <message>
        <source>Please enter the IP address of the Print Service:</source>
        <translation>Introduzca la dirección IP del servicio de impresión:</translation>
    </message>
</context>
<context>
    <name>MessageDialog</name>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Sí</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>PageCountDialogView</name>
    <message>
        <source>Print this job?</source>
        <translation>¿Imprimir este trabajo?</translation>
    </message>
    <message>
        <source>There is no charge to print this job.</source>
        <translation>La impresión de este trabajo no tiene costo.</translation>
    </message>
    <message>
        <source>Total Pages:</source>
        <translation>Total de páginas:</translation>
    </message>
    <message>
        <source>Duplex Mode:</source>
        <translation>Modo dúplex:</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>Activado</translation>
    </message>
    <message>
        <source>Total Sheets:</source>
        <translation>Total de hojas:</translation>
    </message>
    <message>
        <source>Free Page:</source>
        <translation>Página gratuita:</translation>
    </message>
    <message>
        <source>Free Pages:</source>
        <translation>Páginas gratuitas:</translation>
    </message>
    <message>
        <source>Free Sheet:</source>
        <translation>Hoja gratuita:</translation>
    </message>
    <message>
        <source>Free Sheets:</source>
        <translation>Hojas gratuitas:</translation>
    </message>
    <message>
        <source>Price Per Page:</source>
        <translation>Precio por página:</translation>
    </message>
    <message>
        <source>Price Per Sheet:</source>
        <translation>Precio por hoja:</translation>
    </message>
    <message>
        <source>Total Cost:</source>
        <translation>Costo total:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Accounts</source>
        <translation>Cuentas</translation>
    </message>
</context>
<context>
    <name>PasswordDialog</name>
    <message>
        <source>PIN Required</source>
        <translation>Se requiere el PIN</translation>
    </message>
    <message>
        <source>Password Required</source>
        <translation>Se requiere la contraseña</translation>
    </message>
    <message>
        <source>Please enter the following information.</source>
        <translation>Introduzca la siguiente información.</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Contraseña</translation>
    </message>
    <message>
        <source>Please enter the staff password.</source>
        <translation>Introduzca la contraseña del personal.</translation>
    </message>
    <message>
        <source>Please enter your PIN.</source>
        <translation>Introduzca su PIN.</translation>
    </message>
    <message>
        <source>Staff Id</source>
        <translation>ID del personal</translation>
    </message>
    <message>
        <source>Reason for Override</source>
        <translation>Motivo de la excepción</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>PrintClientMessager</name>
    <message>
        <source>connection to %1 lost during the TLS handshake: %2</source>
        <translation>conexión con %1 perdida durante la negociación TLS: %2</translation>
    </message>
    <message>
        <source>no connection to %1: %2</source>
        <translation>sin conexión con %1: %2</translation>
    </message>
</context>
<context>
    <name>ReleaseConfirmationDialog</name>
    <message>
        <source>You are due a refund of %1.  The Refund Id is %2.  Please see staff for additional assistance.</source>
        <translation>Le corresponde un reembolso de %1.  El número de reembolso es %2.  Consulte al personal si necesita más ayuda.</translation>
    </message>
</context>
<context>
    <name>SiteTls</name>
    <message>
        <source>no name</source>
        <translation>sin nombre</translation>
    </message>
    <message>
        <source>CA file %1 does not exist</source>
        <translation>el archivo de CA %1 no existe</translation>
    </message>
    <message>
        <source>CA file %1 cannot be read: %2</source>
        <translation>no se puede leer el archivo de CA %1: %2</translation>
    </message>
    <message>
        <source>CA file %1 is larger than 1 MiB</source>
        <translation>el archivo de CA %1 ocupa más de 1 MiB</translation>
    </message>
    <message>
        <source>CA file %1 holds no PEM certificate</source>
        <translation>el archivo de CA %1 no contiene ningún certificado PEM</translation>
    </message>
    <message>
        <source>not in the system&apos;s CA store</source>
        <translation>no está en el almacén de CA del sistema</translation>
    </message>
    <message>
        <source>not in %1</source>
        <translation>no está en %1</translation>
    </message>
    <message>
        <source>certificate for %1 is not trusted: self-signed, %2</source>
        <translation>el certificado de %1 no es de confianza: autofirmado, %2</translation>
    </message>
    <message>
        <source>certificate for %1 is not trusted: unknown issuer, %2</source>
        <translation>el certificado de %1 no es de confianza: emisor desconocido, %2</translation>
    </message>
    <message>
        <source>certificate for %1 is not trusted: issued by %2, %3</source>
        <translation>el certificado de %1 no es de confianza: emitido por %2, %3</translation>
    </message>
    <message>
        <source>certificate for %1 has expired (not after %2)</source>
        <translation>el certificado de %1 ha caducado (válido hasta %2)</translation>
    </message>
    <message>
        <source>certificate for %1 is not valid yet (not before %2)</source>
        <translation>el certificado de %1 aún no es válido (válido desde %2)</translation>
    </message>
    <message>
        <source>certificate for %1 names %2, not %1</source>
        <translation>el certificado de %1 nombra a %2, no a %1</translation>
    </message>
    <message>
        <source>certificate for %1 is refused: %2</source>
        <translation>el certificado de %1 fue rechazado: %2</translation>
    </message>
    <message>
        <source>certificate for %1 is refused</source>
        <translation>el certificado de %1 fue rechazado</translation>
    </message>
    <message>
        <source>no TLS handshake from %1:%2 within %3 s</source>
        <translation>ningún protocolo de enlace TLS de %1:%2 en %3 s</translation>
    </message>
    <message>
        <source>no TLS handshake from %1:%2: the server does not speak TLS</source>
        <translation>ningún protocolo de enlace TLS de %1:%2: el servidor no habla TLS</translation>
    </message>
</context>
<context>
    <name>TrayConnectionStatus</name>
    <message>
        <source>Connecting to the Print Service at %1…</source>
        <translation>Conectando con el servicio de impresión en %1…</translation>
    </message>
    <message>
        <source>Connected to the Print Service at %1</source>
        <translation>Conectado al servicio de impresión en %1</translation>
    </message>
    <message>
        <source>Not connected: trying to reconnect to the Print Service at %1…</source>
        <translation>Sin conexión: intentando reconectar con el servicio de impresión en %1…</translation>
    </message>
    <message>
        <source>Not connected (%2): trying to reconnect to the Print Service at %1…</source>
        <translation>Sin conexión (%2): intentando reconectar con el servicio de impresión en %1…</translation>
    </message>
</context>
<context>
    <name>TsInputDialog</name>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
</context>
<context>
    <name>UserIdDialogView</name>
    <message>
        <source>User Identification</source>
        <translation>Identificación del usuario</translation>
    </message>
    <message>
        <source>Please enter the following information.</source>
        <translation>Introduzca la siguiente información.</translation>
    </message>
    <message>
        <source>User ID</source>
        <translation>ID de usuario</translation>
    </message>
    <message>
        <source>User PIN</source>
        <translation>PIN de usuario</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>GUEST USERS: Please create the information requested above and remember it for use at the Print Release Terminal.</source>
        <translation>USUARIOS INVITADOS: Cree la información solicitada arriba y recuérdela para usarla en el terminal de liberación de impresiones.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Unable to connect to any printers.  Please see a staff member for assistance.</source>
        <translation>No se puede conectar con ninguna impresora.  Consulte a un miembro del personal para obtener ayuda.</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Archivo</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>Menú</translation>
    </message>
</context>
</TS>
