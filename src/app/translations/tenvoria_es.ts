<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>CommandLine</name>
    <message>
        <source>Usage: tenvoria [APPLICANT.tenvoria] [--applicants FOLDER]
Makes a printable rental application form; opens the applicant file, if one is given.

      --applicants FOLDER  compare the applicant files of FOLDER side by side
  -h, --help               show this help and end
      --version            show the version and end

Anything else on the line is ignored, with a notice, and the program starts as usual.
</source>
        <translation>Uso: tenvoria [SOLICITANTE.tenvoria] [--applicants CARPETA]
Crea un formulario imprimible de solicitud de arrendamiento; abre el archivo del solicitante, si se indica.

      --applicants CARPETA  compara lado a lado los archivos de solicitantes de CARPETA
  -h, --help                muestra esta ayuda y termina
      --version             muestra la versión y termina

Todo lo demás en la línea se pasa por alto, con un aviso, y el programa arranca como siempre.
</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Current</source>
        <translation>Actual</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Anterior</translation>
    </message>
    <message>
        <source>Employment Information</source>
        <translation>Información de empleo</translation>
    </message>
    <message>
        <source>Emergency Contact</source>
        <translation>Contacto de emergencia</translation>
    </message>
    <message>
        <source>References</source>
        <translation>Referencias</translation>
    </message>
    <message>
        <source>Applicant Information</source>
        <translation>Información del solicitante</translation>
    </message>
    <message>
        <source>Co-applicant Information</source>
        <translation>Información del cosolicitante</translation>
    </message>
    <message>
        <source>Other Information</source>
        <translation>Otra información</translation>
    </message>
    <message>
        <source>Start Creating Template</source>
        <translation>Comenzar a crear la plantilla</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ayuda</translation>
    </message>
    <message>
        <source>Load Sample/Example Data</source>
        <translation>Cargar datos de ejemplo</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Nombre:</translation>
    </message>
    <message>
        <source>Date of Birth:</source>
        <translation>Fecha de nac.:</translation>
    </message>
    <message>
        <source>SSN:</source>
        <translation>Seguro Social:</translation>
    </message>
    <message>
        <source>Phone:</source>
        <translation>Teléfono:</translation>
    </message>
    <message>
        <source>Address:</source>
        <translation>Dirección:</translation>
    </message>
    <message>
        <source>City:</source>
        <translation>Ciudad:</translation>
    </message>
    <message>
        <source>State:</source>
        <translation>Edo.:</translation>
    </message>
    <message>
        <source>Zip Code:</source>
        <translation>C. postal:</translation>
    </message>
    <message>
        <source>Monthly Payment or Rent:</source>
        <translation>Pago mensual o alquiler:</translation>
    </message>
    <message>
        <source>How Long:</source>
        <translation>Tiempo:</translation>
    </message>
    <message>
        <source>Current Employer:</source>
        <translation>Empleador actual:</translation>
    </message>
    <message>
        <source>Employer Address:</source>
        <translation>Dir. del empleador:</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>Correo:</translation>
    </message>
    <message>
        <source>Fax:</source>
        <translation>Fax:</translation>
    </message>
    <message>
        <source>Position:</source>
        <translation>Puesto:</translation>
    </message>
    <message>
        <source>Annual Income:</source>
        <translation>Ingreso anual:</translation>
    </message>
    <message>
        <source>Name of person not residing with you:</source>
        <translation>Persona que no vive con usted:</translation>
    </message>
    <message>
        <source>Relationship:</source>
        <translation>Parentesco:</translation>
    </message>
    <message>
        <source>Name 2:</source>
        <translation>Nombre 2:</translation>
    </message>
    <message>
        <source>Name 3:</source>
        <translation>Nombre 3:</translation>
    </message>
    <message>
        <source>House</source>
        <translation>Vivienda</translation>
    </message>
    <message>
        <source>Own</source>
        <translation>Propia</translation>
    </message>
    <message>
        <source>Rent</source>
        <translation>Renta</translation>
    </message>
    <message>
        <source>Salary</source>
        <translation>Salario</translation>
    </message>
    <message>
        <source>Hourly</source>
        <translation>Hora</translation>
    </message>
</context>
<context>
    <name>MessageBoxes</name>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Guardar</translation>
    </message>
    <message>
        <source>&amp;Don&apos;t Save</source>
        <translation>&amp;No guardar</translation>
    </message>
</context>
<context>
    <name>PassphrasePrompt</name>
    <message>
        <source>Lock %1 with a passphrase. Without it nobody, you included, can open the file again: keep it safe.</source>
        <translation>Bloquee %1 con una frase de contraseña. Sin ella nadie, ni usted, podrá volver a abrir el archivo: guárdela bien.</translation>
    </message>
    <message>
        <source>&amp;Passphrase:</source>
        <translation>&amp;Frase de contraseña:</translation>
    </message>
    <message>
        <source>&amp;Lock</source>
        <translation>&amp;Bloquear</translation>
    </message>
    <message>
        <source>Choose a new passphrase for %1. Once it is changed, the old passphrase no longer opens the file; copies saved before keep the old one.</source>
        <translation>Elija una nueva frase de contraseña para %1. Una vez cambiada, la anterior ya no abre el archivo; las copias guardadas antes conservan la anterior.</translation>
    </message>
    <message>
        <source>&amp;New passphrase:</source>
        <translation>&amp;Nueva frase de contraseña:</translation>
    </message>
    <message>
        <source>&amp;Change Passphrase</source>
        <translation>&amp;Cambiar contraseña</translation>
    </message>
    <message>
        <source>Passphrase</source>
        <translation>Frase de contraseña</translation>
    </message>
    <message>
        <source>Passphrase again</source>
        <translation>Frase de contraseña otra vez</translation>
    </message>
    <message>
        <source>&amp;Again:</source>
        <translation>&amp;Repetir:</translation>
    </message>
    <message>
        <source>An empty passphrase locks nothing. Type one.</source>
        <translation>Una frase de contraseña vacía no bloquea nada. Escriba una.</translation>
    </message>
    <message>
        <source>The two passphrases differ. Type the same one twice.</source>
        <translation>Las dos frases de contraseña no coinciden. Escriba la misma dos veces.</translation>
    </message>
    <message>
        <source>That passphrase does not open %1. Try again:</source>
        <translation>Esa frase de contraseña no abre %1. Inténtelo de nuevo:</translation>
    </message>
    <message>
        <source>%1 is locked. Its passphrase:</source>
        <translation>%1 está bloqueado. Su frase de contraseña:</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Abrir</translation>
    </message>
    <message>
        <source>%1 was open when the program last ended; its entries are kept locked. Its passphrase brings them back:</source>
        <translation>%1 estaba abierto cuando el programa terminó por última vez; sus datos se guardan bloqueados. Su frase de contraseña los recupera:</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Recuperar</translation>
    </message>
</context>
<context>
    <name>Working</name>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>compare::Column</name>
    <message>
        <source>File</source>
        <translation>Archivo</translation>
    </message>
    <message>
        <source>Applicant</source>
        <translation>Solicitante</translation>
    </message>
    <message>
        <source>Co-applicant</source>
        <translation>Cosolicitante</translation>
    </message>
    <message>
        <source>Phone</source>
        <translation>Teléfono</translation>
    </message>
    <message>
        <source>Current monthly payment</source>
        <translation>Pago mensual actual</translation>
    </message>
    <message>
        <source>Applicant&apos;s annual income</source>
        <translation>Ingreso anual del solicitante</translation>
    </message>
    <message>
        <source>Co-applicant&apos;s annual income</source>
        <translation>Ingreso anual del cosolicitante</translation>
    </message>
    <message>
        <source>Combined annual income</source>
        <translation>Ingreso anual combinado</translation>
    </message>
    <message>
        <source>Income ÷ rent</source>
        <translation>Ingreso ÷ alquiler</translation>
    </message>
    <message>
        <source>Current employer</source>
        <translation>Empleador actual</translation>
    </message>
    <message>
        <source>Employed there</source>
        <translation>Tiempo en el empleo</translation>
    </message>
    <message>
        <source>At current address</source>
        <translation>Tiempo en la dirección actual</translation>
    </message>
    <message>
        <source>File date</source>
        <translation>Fecha del archivo</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Estado</translation>
    </message>
    <message>
        <source>Decided</source>
        <translation>Decidido</translation>
    </message>
    <message>
        <source>Keep until</source>
        <translation>Conservar hasta</translation>
    </message>
</context>
<context>
    <name>entry::ApplicantFiles</name>
    <message>
        <source>Form Lan&amp;guage</source>
        <translation>Idioma del &amp;formulario</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Archivo</translation>
    </message>
    <message>
        <source>&amp;New Applicant</source>
        <translation>&amp;Nuevo solicitante</translation>
    </message>
    <message>
        <source>&amp;Open Applicant…</source>
        <translation>&amp;Abrir solicitante…</translation>
    </message>
    <message>
        <source>Save Applicant &amp;As…</source>
        <translation>&amp;Guardar solicitante como…</translation>
    </message>
    <message>
        <source>C&amp;hange Passphrase…</source>
        <translation>Cambiar &amp;contraseña…</translation>
    </message>
    <message>
        <source>Re&amp;move Lock…</source>
        <translation>&amp;Quitar bloqueo…</translation>
    </message>
    <message>
        <source>&amp;Lock and Close Applicant</source>
        <translation>&amp;Bloquear y cerrar solicitante</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>Abrir &amp;reciente</translation>
    </message>
    <message>
        <source>Appli&amp;cants…</source>
        <translation>&amp;Solicitantes…</translation>
    </message>
    <message>
        <source>&amp;Import Filled PDF…</source>
        <translation>&amp;Importar PDF rellenado…</translation>
    </message>
    <message>
        <source>&amp;Export Fillable PDF…</source>
        <translation>&amp;Exportar PDF rellenable…</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>Sa&amp;lir</translation>
    </message>
    <message>
        <source>Applicant Files (*.%1);;All Files (*)</source>
        <translation>Archivos de solicitantes (*.%1);;Todos los archivos (*)</translation>
    </message>
    <message>
        <source>PDF Files (*.pdf)</source>
        <translation>Archivos PDF (*.pdf)</translation>
    </message>
    <message>
        <source>Open Applicant</source>
        <translation>Abrir solicitante</translation>
    </message>
    <message>
        <source>Save Applicant As</source>
        <translation>Guardar solicitante como</translation>
    </message>
    <message>
        <source>Import Filled PDF</source>
        <translation>Importar PDF rellenado</translation>
    </message>
    <message>
        <source>Export Fillable PDF</source>
        <translation>Exportar PDF rellenable</translation>
    </message>
    <message>
        <source>are in no applicant file</source>
        <translation>no están en ningún archivo de solicitante</translation>
    </message>
    <message>
        <source>have changed since %1 was saved</source>
        <translation>cambiaron desde que se guardó %1</translation>
    </message>
    <message>
        <source>The entries in the window %1.<byte value="xd"/>
<byte value="xd"/>
Save them before %2?</source>
        <translation>Los datos de la ventana %1.<byte value="xd"/>
<byte value="xd"/>
¿Guardarlos antes de %2?</translation>
    </message>
    <message>
        <source>starting a new applicant</source>
        <translation>empezar un nuevo solicitante</translation>
    </message>
    <message>
        <source>opening %1</source>
        <translation>abrir %1</translation>
    </message>
    <message>
        <source><byte value="xd"/>
<byte value="xd"/>
The entries in the window are unchanged.</source>
        <translation><byte value="xd"/>
<byte value="xd"/>
Los datos de la ventana no cambiaron.</translation>
    </message>
    <message>
        <source>Unlocking %1…</source>
        <translation>Desbloqueando %1…</translation>
    </message>
    <message>
        <source>restoring the entries of %1</source>
        <translation>recuperar los datos de %1</translation>
    </message>
    <message>
        <source>The entries of the locked applicant %1, kept from the last run, could not be restored.<byte value="xd"/>
<byte value="xd"/>
%2<byte value="xd"/>
<byte value="xd"/>
They stay in %3.</source>
        <translation>No se pudieron recuperar los datos del solicitante bloqueado %1, guardados de la última sesión.<byte value="xd"/>
<byte value="xd"/>
%2<byte value="xd"/>
<byte value="xd"/>
Siguen en %3.</translation>
    </message>
    <message>
        <source>The applicant could not be saved as %1: it is the settings file the window&apos;s entries are kept in. Choose another name.<byte value="xd"/>
<byte value="xd"/>
The entries are still in the window.</source>
        <translation>No se pudo guardar el solicitante como %1: es el archivo de configuración donde se guardan los datos de la ventana. Elija otro nombre.<byte value="xd"/>
<byte value="xd"/>
Los datos siguen en la ventana.</translation>
    </message>
    <message>
        <source>Lock %1 with a passphrase? A locked file can be opened only with the passphrase, so that a lost or shared copy does not give away the applicant&apos;s SSN and date of birth.</source>
        <translation>¿Bloquear %1 con una frase de contraseña? Un archivo bloqueado solo se abre con la frase de contraseña, así una copia perdida o compartida no revela el número de Seguro Social ni la fecha de nacimiento del solicitante.</translation>
    </message>
    <message>
        <source>&amp;Lock with a Passphrase…</source>
        <translation>&amp;Bloquear con frase de contraseña…</translation>
    </message>
    <message>
        <source>Save &amp;Without Lock</source>
        <translation>Guardar &amp;sin bloquear</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>%1 was changed on disk since it was opened here: by another program, by someone else on a shared folder, or by a decision written from the Applicants window.<byte value="xd"/>
<byte value="xd"/>
Reload it (the entries in the window give way to the file&apos;s), save the entries under another name, or replace the file&apos;s entries with the window&apos;s? A decision in the file is kept either way.</source>
        <translation>%1 cambió en el disco desde que se abrió aquí: por otro programa, por otra persona en una carpeta compartida o por una decisión escrita desde la ventana Solicitantes.<byte value="xd"/>
<byte value="xd"/>
¿Volver a cargarlo (los datos de la ventana dan paso a los del archivo), guardar los datos con otro nombre o reemplazar los datos del archivo por los de la ventana? Una decisión en el archivo se conserva en todo caso.</translation>
    </message>
    <message>
        <source>&amp;Reload</source>
        <translation>&amp;Volver a cargar</translation>
    </message>
    <message>
        <source>Save &amp;As…</source>
        <translation>Guardar &amp;como…</translation>
    </message>
    <message>
        <source>Re&amp;place</source>
        <translation>&amp;Reemplazar</translation>
    </message>
    <message>
        <source>Locking %1…</source>
        <translation>Bloqueando %1…</translation>
    </message>
    <message>
        <source><byte value="xd"/>
<byte value="xd"/>
The entries are still in the window.</source>
        <translation><byte value="xd"/>
<byte value="xd"/>
Los datos siguen en la ventana.</translation>
    </message>
    <message>
        <source>The PDF %1 could not be imported: %2<byte value="xd"/>
<byte value="xd"/>
The entries in the window are unchanged.</source>
        <translation>No se pudo importar el PDF %1: %2<byte value="xd"/>
<byte value="xd"/>
Los datos de la ventana no cambiaron.</translation>
    </message>
    <message>
        <source>importing %1</source>
        <translation>importar %1</translation>
    </message>
    <message>
        <source>From %1:<byte value="xd"/>
<byte value="xd"/>
</source>
        <translation>De %1:<byte value="xd"/>
<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>No field was filled in.</source>
        <translation>No se rellenó ningún campo.</translation>
    </message>
    <message>
        <source>Filled in (%1): %2.</source>
        <translation>Rellenados (%1): %2.</translation>
    </message>
    <message>
        <source><byte value="xd"/>
%1 more fields were taken empty.</source>
        <translation><byte value="xd"/>
Otros %1 campos se tomaron vacíos.</translation>
    </message>
    <message>
        <source><byte value="xd"/>
<byte value="xd"/>
Not taken (%1):</source>
        <translation><byte value="xd"/>
<byte value="xd"/>
No tomados (%1):</translation>
    </message>
    <message>
        <source><byte value="xd"/>
%1: %2</source>
        <translation><byte value="xd"/>
%1: %2</translation>
    </message>
    <message>
        <source>%1 is locked, but the PDF will not be: whoever gets it can read the applicant&apos;s SSN and date of birth.<byte value="xd"/>
<byte value="xd"/>
Export it with the values anyway?</source>
        <translation>%1 está bloqueado, pero el PDF no lo estará: quien lo reciba podrá leer el número de Seguro Social y la fecha de nacimiento del solicitante.<byte value="xd"/>
<byte value="xd"/>
¿Exportarlo con los datos de todos modos?</translation>
    </message>
    <message>
        <source>The fillable PDF could not be saved: %1</source>
        <translation>No se pudo guardar el PDF rellenable: %1</translation>
    </message>
    <message>
        <source>The fillable form was saved to %1.</source>
        <translation>El formulario rellenable se guardó en %1.</translation>
    </message>
    <message>
        <source>The file keeps its old passphrase.</source>
        <translation>El archivo conserva su frase de contraseña anterior.</translation>
    </message>
    <message>
        <source>The passphrase of %1 was changed. Only the new one opens it now.</source>
        <translation>Se cambió la frase de contraseña de %1. Ahora solo la nueva lo abre.</translation>
    </message>
    <message>
        <source>Locking %1 anew…</source>
        <translation>Volviendo a bloquear %1…</translation>
    </message>
    <message>
        <source>Remove the lock from %1? Whoever gets the file can then read the applicant&apos;s SSN and date of birth.</source>
        <translation>¿Quitar el bloqueo de %1? Quien reciba el archivo podrá leer el número de Seguro Social y la fecha de nacimiento del solicitante.</translation>
    </message>
    <message>
        <source>The file stays locked.</source>
        <translation>El archivo sigue bloqueado.</translation>
    </message>
    <message>
        <source>The settings file was copied before the program rewrote it, because it had been edited by hand. These copies may hold applicants&apos; SSNs and dates of birth in plain text:<byte value="xd"/>
<byte value="xd"/>
%1<byte value="xd"/>
<byte value="xd"/>
Destroy them? Their contents are overwritten before they are removed.</source>
        <translation>El archivo de configuración se copió antes de que el programa lo reescribiera, porque se había editado a mano. Estas copias pueden contener en texto plano números de Seguro Social y fechas de nacimiento de solicitantes:<byte value="xd"/>
<byte value="xd"/>
%1<byte value="xd"/>
<byte value="xd"/>
¿Destruirlas? Su contenido se sobrescribe antes de eliminarlas.</translation>
    </message>
    <message>
        <source>Export the fillable form blank, for an applicant to fill in, or holding the values in the window?</source>
        <translation>¿Exportar el formulario rellenable en blanco, para que lo rellene un solicitante, o con los datos de la ventana?</translation>
    </message>
    <message>
        <source>Blank</source>
        <translation>En blanco</translation>
    </message>
    <message>
        <source>With Current Values</source>
        <translation>Con los datos actuales</translation>
    </message>
    <message>
        <source>&amp;Decision…</source>
        <translation>&amp;Decisión…</translation>
    </message>
    <message>
        <source>The entries are in no applicant file yet. Save them with Save Applicant As… first: the decision is kept in the applicant&apos;s file.</source>
        <translation>Los datos aún no están en ningún archivo de solicitante. Guárdelos primero con Guardar solicitante como…: la decisión se guarda en el archivo del solicitante.</translation>
    </message>
</context>
<context>
    <name>entry::ApplicantsWindow</name>
    <message>
        <source>Applicants — Tenvoria</source>
        <translation>Solicitantes — Tenvoria</translation>
    </message>
    <message>
        <source>Applicants</source>
        <translation>Solicitantes</translation>
    </message>
    <message>
        <source>C&amp;hoose Folder…</source>
        <translation>&amp;Elegir carpeta…</translation>
    </message>
    <message>
        <source>Monthly rent</source>
        <translation>Alquiler mensual</translation>
    </message>
    <message>
        <source>e.g. 1,450</source>
        <translation>p. ej. 1,450</translation>
    </message>
    <message>
        <source>Monthly &amp;rent:</source>
        <translation>&amp;Alquiler mensual:</translation>
    </message>
    <message>
        <source>Minimum income multiple</source>
        <translation>Múltiplo mínimo de ingreso</translation>
    </message>
    <message>
        <source>&amp;Minimum income:</source>
        <translation>Ingreso &amp;mínimo:</translation>
    </message>
    <message>
        <source>× rent</source>
        <translation>× alquiler</translation>
    </message>
    <message>
        <source>Filter the applicants</source>
        <translation>Filtrar los solicitantes</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Filtro</translation>
    </message>
    <message>
        <source>&amp;Filter:</source>
        <translation>&amp;Filtro:</translation>
    </message>
    <message>
        <source>Applicants of the folder</source>
        <translation>Solicitantes de la carpeta</translation>
    </message>
    <message>
        <source>&amp;Decision…</source>
        <translation>&amp;Decisión…</translation>
    </message>
    <message>
        <source>Le&amp;tters…</source>
        <translation>&amp;Cartas…</translation>
    </message>
    <message>
        <source>&amp;Vacancy…</source>
        <translation>&amp;Vivienda…</translation>
    </message>
    <message>
        <source>Dispose of E&amp;xpired Applications…</source>
        <translation>Elimi&amp;nar solicitudes vencidas…</translation>
    </message>
    <message>
        <source>Export &amp;PDF…</source>
        <translation>Exportar &amp;PDF…</translation>
    </message>
    <message>
        <source>Export &amp;CSV…</source>
        <translation>Exportar C&amp;SV…</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Choose the folder that holds the vacancy&apos;s applicant files.</source>
        <translation>Elija la carpeta con los archivos de solicitantes de la vivienda.</translation>
    </message>
    <message>
        <source>The Vacancy&apos;s Applicant Files</source>
        <translation>Archivos de solicitantes de la vivienda</translation>
    </message>
    <message>
        <source>Reading the folder…</source>
        <translation>Leyendo la carpeta…</translation>
    </message>
    <message>
        <source>No applicant files in this folder yet.</source>
        <translation>Todavía no hay archivos de solicitantes en esta carpeta.</translation>
    </message>
    <message>
        <source>, %1 of them without values (see the second column)</source>
        <translation>, %1 de ellos sin valores (vea la segunda columna)</translation>
    </message>
    <message>
        <source>%1 applicant files%2.</source>
        <translation>%1 archivos de solicitantes%2.</translation>
    </message>
    <message>
        <source>%1 of %2 applicant files shown by the filter%3.</source>
        <translation>%1 de %2 archivos de solicitantes mostrados por el filtro%3.</translation>
    </message>
    <message>
        <source>Export the Comparison</source>
        <translation>Exportar la comparación</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Abrir</translation>
    </message>
    <message>
        <source>Choose an applicant in the table first.</source>
        <translation>Elija primero un solicitante en la tabla.</translation>
    </message>
    <message>
        <source>Choose the vacancy&apos;s folder first.</source>
        <translation>Elija primero la carpeta de la vivienda.</translation>
    </message>
</context>
<context>
    <name>preview::PreviewWindow</name>
    <message>
        <source>Page view</source>
        <translation>Vista de la página</translation>
    </message>
    <message>
        <source>Rental application page</source>
        <translation>Página de la solicitud de arrendamiento</translation>
    </message>
    <message>
        <source>Scroll the page up and down</source>
        <translation>Desplazar la página hacia arriba y hacia abajo</translation>
    </message>
    <message>
        <source>Scroll the page sideways</source>
        <translation>Desplazar la página hacia los lados</translation>
    </message>
    <message>
        <source>Zoom:</source>
        <translation>Zoom:</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Acercar</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Alejar</translation>
    </message>
    <message>
        <source>&lt; Back</source>
        <translation>&lt; Atrás</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Atrás</translation>
    </message>
    <message>
        <source>Save Results To Word File</source>
        <translation>Guardar el resultado en Word</translation>
    </message>
    <message>
        <source>Preview of the rental application form</source>
        <translation>Vista previa del formulario de solicitud de arrendamiento</translation>
    </message>
    <message>
        <source>Print…</source>
        <translation>Imprimir…</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>Guardar archivo</translation>
    </message>
    <message>
        <source>Word Files (*.doc);;PDF Files (*.pdf)</source>
        <translation>Archivos de Word (*.doc);;Archivos PDF (*.pdf)</translation>
    </message>
    <message>
        <source>Are you sure you wish to overwrite %1 ?</source>
        <translation>¿Seguro que desea sobrescribir %1?</translation>
    </message>
    <message>
        <source>

The file is write-protected; the new one will be too.</source>
        <translation>

El archivo está protegido contra escritura; el nuevo también lo estará.</translation>
    </message>
    <message>
        <source>Done.</source>
        <translation>Listo.</translation>
    </message>
</context>
</TS>
