#version 120
// Cockpit pass (program "cockpit"): the cockpit mesh placed relative to the
// eye (the model-view holds its matrix alone), lit by a lamp at the eye.
varying float facing;

void main() {
    vec3 normal = normalize(gl_NormalMatrix * gl_Normal);
    vec4 eye = gl_ModelViewMatrix * gl_Vertex;
    facing = abs(dot(normal, normalize(-eye.xyz)));
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_FrontColor = gl_Color;
    gl_Position = gl_ProjectionMatrix * eye;
}
