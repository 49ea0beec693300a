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
