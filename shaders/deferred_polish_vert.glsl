#version 120
// Polish pass (program "deferred_polish"): one quad over the whole window.
void main() {
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
}
