#version 120
// Combine pass (program "deferred_combine"): one quad over the whole target.
void main() {
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
}
