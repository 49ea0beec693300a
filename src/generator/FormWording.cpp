#include "FormWording.h"

#include <cstring>

namespace generator {
namespace {

// Words a Spanish-speaking applicant in the United States meets on rental and government forms.
// A label keeps the English one's trailing space or colon, which the generator's typing relies on.
constexpr FormWording kWordings[] = {
    {"Rental Application", "Solicitud de arrendamiento"},
    {"Applicant Information", "Información del solicitante"},
    {"Employment Information", "Información de empleo"},
    {"Emergency Contact", "Contacto de emergencia"},
    {"Co-applicant Information, if Married", "Información del cosolicitante, si está casado(a)"},
    {"Co-applicant Employment Information", "Información de empleo del cosolicitante"},
    {"References", "Referencias"},
    {"Name: ", "Nombre: "},
    {"Date of birth: ", "Fecha de nacimiento: "},
    {"SSN: ", "Número de Seguro Social: "},
    {"Phone: ", "Teléfono: "},
    {"Current address: ", "Dirección actual: "},
    {"Previous address: ", "Dirección anterior: "},
    {"City: ", "Ciudad: "},
    {"State: ", "Estado: "},
    {"Zip Code: ", "Código postal: "},
    {"House: ", "Vivienda: "},
    {"Own", "Propia"},
    {"Rent", "Alquilada"},
    {"Monthly payment or rent: ", "Pago mensual o alquiler: "},
    {"How long? ", "¿Cuánto tiempo? "},
    {"Current employer: ", "Empleador actual: "},
    {"Employer Address: ", "Dirección del empleador: "},
    {"E-mail: ", "Correo electrónico: "},
    {"Fax: ", "Fax: "},
    {"Position: ", "Puesto: "},
    {"Salary: ", "Tipo de pago: "},
    {"Salary", "Salario"},
    {"Hourly", "Por hora"},
    {"Annual Income: ", "Ingreso anual: "},
    {"Name of a person not residing with you: ", "Nombre de una persona que no viva con usted: "},
    {"Address: ", "Dirección: "},
    {"Relationship: ", "Parentesco: "},
    {"I authorize the verification of the information provided on this form as to my credit and "
     "employment. I have received a copy of this application.",
     "Autorizo la verificación de la información proporcionada en este formulario en cuanto a mi crédito y "
     "empleo. He recibido una copia de esta solicitud."},
    {"Signature of applicant:", "Firma del solicitante:"},
    {"Signature of co-applicant:", "Firma del cosolicitante:"},
    {"Date:", "Fecha:"},
};

} // namespace

std::span<const FormWording> formWordings() { return kWordings; }

QString formText(const char *english, record::FormLanguage language)
{
    if (language == record::FormLanguage::Spanish)
        for (const FormWording &wording : kWordings)
            if (std::strcmp(wording.english, english) == 0)
                return QString::fromUtf8(wording.spanish);
    return QString::fromUtf8(english);
}

} // namespace generator
